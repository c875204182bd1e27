// The one definition of the namespace table that the runtime and every SOAP context use.
#include "SoapOAM.nsmap"
