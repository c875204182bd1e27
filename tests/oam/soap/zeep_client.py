"""A client of another SOAP toolkit, built from the service's WSDL alone, against a running server
whose child executer answers "ok-me" and whose OM reporter knows "linkhaven.om.test.integer" only.
Usage: zeep_client.py WSDL ENDPOINT"""
import sys

import zeep
import zeep.exceptions

wsdl, endpoint = sys.argv[1:3]
service = zeep.Client(wsdl).create_service("{urn:SoapOAM}SoapOAM", endpoint)

result = service.executeCommand({"m-strName": "ok-me", "m-argVector": ["a", ""]})
assert (result["m-bExecSuccess"], result["m-strStatusText"]) == (True, "done <ok>"), result
assert service.getOM("linkhaven.om.test.integer") == "42"
for call in (lambda: service.getOM("linkhaven.om.none"), service.getPSTNChannelStatus):
    try:
        call()
        sys.exit("a fault was expected")
    except zeep.exceptions.Fault:
        pass
