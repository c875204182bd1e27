-- wrk script: posts one SOAP request per connection ("Connection: close") to an OAM web service.
-- OP=executeCommand (the command get-run-mode) or OP=getOM (the manager's own alarm-state OM).
local op = os.getenv("OP") or "executeCommand"
local head = '<?xml version="1.0" encoding="UTF-8"?>'
    .. '<SOAP-ENV:Envelope xmlns:SOAP-ENV="http://schemas.xmlsoap.org/soap/envelope/"'
    .. ' xmlns:SOAP-ENC="http://schemas.xmlsoap.org/soap/encoding/" xmlns:SoapOAM="urn:SoapOAM">'
    .. '<SOAP-ENV:Body SOAP-ENV:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/">'
local tail = '</SOAP-ENV:Body></SOAP-ENV:Envelope>'
local operations = {
    executeCommand = '<SoapOAM:executeCommand><in-cmd><m-strName>get-run-mode</m-strName></in-cmd>'
        .. '</SoapOAM:executeCommand>',
    getOM = '<SoapOAM:getOM><in-strOmName>linkhaven.om.OAMManager.alarmState</in-strOmName></SoapOAM:getOM>',
}
assert(operations[op], "OP must be executeCommand or getOM")

wrk.method = "POST"
wrk.body = head .. operations[op] .. tail
wrk.headers["Content-Type"] = "text/xml; charset=utf-8"
wrk.headers["SOAPAction"] = '""'
wrk.headers["Connection"] = "close"
