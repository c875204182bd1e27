#pragma once
// Requests and answers of the service as its clients write them.

#include <string>

inline const std::string SOAP_NAMESPACES = "xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                                           "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
                                           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:SoapOAM=\"urn:SoapOAM\"";

inline std::string envelopeAround(const std::string& in_strBody, const std::string& in_strHeader = "")
{
    return "<?xml version=\"1.0\"?><SOAP-ENV:Envelope " + SOAP_NAMESPACES + ">" + in_strHeader + "<SOAP-ENV:Body>" + in_strBody +
           "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

inline std::string httpAround(const std::string& in_strStartAndHeaders, const std::string& in_strContent)
{
    return in_strStartAndHeaders + "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " + std::to_string(in_strContent.size()) +
           "\r\n\r\n" + in_strContent;
}

inline std::string executeCommandAround(const std::string& in_strInCmd) { return "<SoapOAM:executeCommand>" + in_strInCmd + "</SoapOAM:executeCommand>"; }
