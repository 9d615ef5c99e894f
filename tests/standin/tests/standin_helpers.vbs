' The script tests' stand-in helpers: the addresses, the request log read through WinHttp, the
' reset, and pointing the SDK at the stand-in.
Dim envelope, answer, last, url

url = StandinUrl()
AssertTrue "URL names the SOAP path", Right(url, 23) = "/secure/messenger/soap/"
AssertEqual "URL is the base and the path", StandinBase() & "/secure/messenger/soap/", url
AssertEqual "base is on loopback", "http://127.0.0.1:", Left(StandinBase(), 17)

StandinReset
AssertEqual "reset log has no last request", "", StandinLastRequest()
AssertEqual "reset log counts none", 0, StandinRequestCount(StandinRequests("GetCurrentVersion"))

envelope = "<soap:Envelope xmlns:soap=""http://schemas.xmlsoap.org/soap/envelope/""><soap:Body>" & _
           "<GetCurrentVersion xmlns=""http://com.tarvock/messenger/""/></soap:Body></soap:Envelope>"
Set answer = StandinCall("POST", "/secure/messenger/soap/BrindlepostService.asmx", envelope, _
                         "http://com.tarvock/messenger/GetCurrentVersion")
AssertEqual "version call succeeds", 200, answer.Status
AssertEqual "version text given to the stand-in", "7.1.2.3", StandinField(answer.ResponseText, "GetCurrentVersionResult")

last = StandinLastRequest()
AssertEqual "logged operation", "GetCurrentVersion", StandinField(last, "operation")
AssertEqual "logged end point", "BrindlepostService", StandinField(last, "endPoint")
AssertEqual "logged action", "http://com.tarvock/messenger/GetCurrentVersion", StandinField(last, "soapAction")
AssertEqual "logged status", "200", StandinField(last, "status")
AssertEqual "logged body is unescaped", envelope, StandinField(last, "body")
AssertEqual "one request of that operation", 1, StandinRequestCount(StandinRequests("GetCurrentVersion"))
AssertEqual "missing field is empty", "", StandinField(last, "nosuchfield")

On Error Resume Next
PointSdkAtStandin
AssertNoError "SDK pointed at the stand-in"
On Error GoTo 0
