' The program as a script's automation server with a signed-in user: the profile holds the
' stand-in's test account, so the program that COM starts signs in by itself; each method answers
' True and its command runs (the web pages are recorded by automation_helper's record-url,
' registered as the http and https "open" command meanwhile); exit is refused while the script
' holds the object; a second start reaches the running copy and ends quietly. Argument: the folder of the program and automation_helper.exe.
Dim shell, bin, helper, app, logPath, fso, saved, schemes, key, i, urls, base
Set shell = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
bin = Replace(WScript.Arguments(0), "/", "\")
helper = """" & bin & "\automation_helper.exe"" "

logPath = bin & "\automation_urls.log"
If fso.FileExists(logPath) Then fso.DeleteFile logPath
schemes = Array("http", "https")
ReDim saved(1)
On Error Resume Next
For i = 0 To 1
    key = "HKCR\" & schemes(i) & "\shell\open\command\"
    saved(i) = Chr(1)
    saved(i) = shell.RegRead(key)
    Err.Clear
    shell.RegWrite key, helper & "record-url """ & logPath & """ ""%1""", "REG_SZ"
Next
AssertNoError "the recorder is the browser"

AssertEqual "the test account's credentials are stored", 0, _
    shell.Run(helper & "store-credentials test test TEST01", 0, True)

' The recorded addresses, once count have arrived (or after ten seconds).
Function RecordedUrls(count)
    Dim file
    RecordedUrls = ""
    shell.Run helper & "wait-lines """ & logPath & """ " & count & " 10000", 0, True
    If fso.FileExists(logPath) Then
        Set file = fso.OpenTextFile(logPath, 1)
        If Not file.AtEndOfStream Then RecordedUrls = file.ReadAll
        file.Close
    End If
End Function

Set app = CreateObject("TarvockBrindlepost.Application")
AssertNoError "CreateObject starts the program through COM"

If Not app Is Nothing Then
    AssertEqual "Show", True, app.Show
    AssertEqual "SendSMS", True, app.SendSMS
    AssertEqual "Inbox", True, app.Inbox
    AssertEqual "SentItems", True, app.SentItems
    AssertEqual "BuyCredits", True, app.BuyCredits
    AssertEqual "AccountOptions", True, app.AccountOptions
    AssertNoError "the calls"

    urls = RecordedUrls(4)
    base = "http://127.0.0.1:8642/secure/"
    AssertTrue "Inbox opened the inbox page: " & urls, InStr(urls, base & "messenger/inbox.aspx?accountID=") > 0
    AssertTrue "SentItems opened the sent-messages page", InStr(urls, base & "messenger/sentMessages.aspx?accountID=") > 0
    AssertTrue "BuyCredits opened the purchase page", InStr(urls, base & "purchase/product.select.aspx?accountID=") > 0
    AssertTrue "AccountOptions opened the account-options page", InStr(urls, base & "messenger/options.aspx?accountID=") > 0
    AssertEqual "four pages, nothing else", 4, UBound(Split(Trim(Replace(urls, vbCr, "")), vbLf)) + 1

    ' Exit is refused (message 113) while this script holds the object.
    AssertEqual "exit is refused while the script holds the object", 0, shell.Run(helper & "exit-refused", 0, True)
    AssertEqual "the program still answers after the refused exit", True, app.Show

    ' A second start reaches this copy through COM, its Show answers True: the second copy ends
    ' without message box 102.
    AssertEqual "a second start ends without a message box", 0, shell.Run(helper & "second-start", 0, True)
    AssertEqual "the running copy still answers", True, app.Inbox
    AssertTrue "the running copy's Inbox opened a fifth page (Show opens none)", UBound(Split(Trim(Replace(RecordedUrls(5), vbCr, "")), vbLf)) + 1 = 5
    Set app = Nothing
End If

AssertEqual "the program ends when the script lets go", 0, shell.Run(helper & "wait-exit 30000", 0, True)

' Leave no stored password and no recorder behind.
AssertEqual "the stored credentials are removed", 0, shell.Run(helper & "clear-credentials", 0, True)
For i = 0 To 1
    key = "HKCR\" & schemes(i) & "\shell\open\command\"
    If saved(i) = Chr(1) Then
        shell.Run "reg delete ""HKCR\" & schemes(i) & "\shell\open\command"" /f", 0, True
    Else
        shell.RegWrite key, saved(i), "REG_SZ"
    End If
Next
If fso.FileExists(logPath) Then fso.DeleteFile logPath
Err.Clear
