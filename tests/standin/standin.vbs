' Stand-in helpers for script tests run by tests/standin/run-standin-vbs under scripts/with-standin.
' Scripts cannot create the XML parser's objects under Wine, so the stand-in's own pages are read
' through WinHttp and its XML answers are searched as text.

' The base address of the SOAP end points (TARVOCK_STANDIN_URL), ending in "/".
Function StandinUrl()
    StandinUrl = StandinEnvironment("TARVOCK_STANDIN_URL")
End Function

' The stand-in server's own address (TARVOCK_STANDIN_BASE).
Function StandinBase()
    StandinBase = StandinEnvironment("TARVOCK_STANDIN_BASE")
End Function

Function StandinEnvironment(name)
    Dim shell
    Set shell = CreateObject("WScript.Shell")
    StandinEnvironment = shell.Environment("PROCESS")(name)
End Function

' Points the SDK of this process at the stand-in.
Sub PointSdkAtStandin()
    Dim testService
    Set testService = CreateObject("Tarvock.TestService")
    testService.SetSoapEndPoints StandinUrl(), ""
End Sub

' One HTTP call to the stand-in; returns the request object (Status, ResponseText).
Function StandinCall(verb, path, body, soapAction)
    Dim request
    Set request = CreateObject("WinHttp.WinHttpRequest.5.1")
    request.Open verb, StandinBase() & path, False
    If soapAction <> "" Then
        request.SetRequestHeader "Content-Type", "text/xml;charset=utf-8"
        request.SetRequestHeader "SOAPAction", soapAction
    End If
    request.Send body
    Set StandinCall = request
End Function

' Clears the request log and restores the fixtures.
Sub StandinReset()
    StandinCall "POST", "/standin/reset", "", ""
End Sub

' The XML text of the newest logged request; empty when the log is empty.
Function StandinLastRequest()
    Dim request
    Set request = StandinCall("GET", "/standin/requests/last", "", "")
    If request.Status = 200 Then StandinLastRequest = request.ResponseText Else StandinLastRequest = ""
End Function

' The XML text of the logged requests of one operation (<requests count="N">...).
Function StandinRequests(operation)
    StandinRequests = StandinCall("GET", "/standin/requests?operation=" & operation, "", "").ResponseText
End Function

' The number of requests in a StandinRequests text.
Function StandinRequestCount(requestsXml)
    Dim start
    start = InStr(requestsXml, "count=""")
    If start = 0 Then StandinRequestCount = -1 : Exit Function
    StandinRequestCount = CLng(Mid(requestsXml, start + 7, InStr(start + 7, requestsXml, """") - start - 7))
End Function

' The text of the first element named name in xml (endPoint, soapAction, operation, status, body ...),
' with the five XML escapes undone; empty when there is none.
Function StandinField(xml, name)
    Dim tag, start, finish
    tag = "<" & name & ">"
    start = InStr(xml, tag)
    StandinField = ""
    If start = 0 Then Exit Function
    start = start + Len(tag)
    finish = InStr(start, xml, "</" & name & ">")
    If finish = 0 Then Exit Function
    StandinField = XmlUnescape(Mid(xml, start, finish - start))
End Function

Function XmlUnescape(text)
    Dim s
    s = Replace(text, "&lt;", "<")
    s = Replace(s, "&gt;", ">")
    s = Replace(s, "&quot;", """")
    s = Replace(s, "&apos;", "'")
    XmlUnescape = Replace(s, "&amp;", "&")
End Function
