' The program as a script's automation server with a signed-in user: the profile holds the
' stand-in's test account, so the program that COM starts signs in by itself; each method answers
' True and its command runs (the web pages are recorded by automation_helper's record-url,
' registered as the http and https "open" command meanwhile); exit is refused while the script
' holds the object; a second start reaches the running copy and ends quietly. Argument: the folder of the program and automation_helper.exe.
'#include "../support/browser_recorder.vbs"
Dim shell, bin, helper, app, logPath, urls, base, exitCode
Set shell = CreateObject("WScript.Shell")
bin = Replace(WScript.Arguments(0), "/", "\")
helper = """" & bin & "\automation_helper.exe"" "

logPath = bin & "\automation_urls.log"

' What automation_helper reported going wrong (automation_helper.log beside it), emptied once read.
Function HelperReport()
    Dim fso, path, file
    Set fso = CreateObject("Scripting.FileSystemObject")
    path = bin & "\automation_helper.log"
    HelperReport = ""
    If fso.FileExists(path) Then
        Set file = fso.OpenTextFile(path, 1)
        If Not file.AtEndOfStream Then HelperReport = "[" & Trim(file.ReadAll) & "]"
        file.Close
        fso.DeleteFile path
    End If
End Function
StartRecordingPages shell, helper, logPath
On Error Resume Next

AssertEqual "the test account's credentials are stored", 0, _
    shell.Run(helper & "store-credentials test test TEST01", 0, True)

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

    urls = RecordedPages(shell, helper, logPath, 4)
    base = "http://127.0.0.1:8642/secure/"
    AssertTrue "Inbox opened the inbox page: " & urls, InStr(urls, base & "messenger/inbox.aspx?accountID=") > 0
    AssertTrue "SentItems opened the sent-messages page", InStr(urls, base & "messenger/sentMessages.aspx?accountID=") > 0
    AssertTrue "BuyCredits opened the purchase page", InStr(urls, base & "purchase/product.select.aspx?accountID=") > 0
    AssertTrue "AccountOptions opened the account-options page", InStr(urls, base & "messenger/options.aspx?accountID=") > 0
    AssertEqual "four pages, nothing else", 4, UBound(Split(Trim(Replace(urls, vbCr, "")), vbLf)) + 1

    ' Exit is refused (message 113) while this script holds the object.
    exitCode = shell.Run(helper & "exit-refused", 0, True)
    AssertEqual "exit is refused while the script holds the object " & HelperReport(), 0, exitCode
    AssertEqual "the program still answers after the refused exit", True, app.Show

    ' A second start reaches this copy through COM, its Show answers True: the second copy ends
    ' without message box 102.
    AssertEqual "a second start ends without a message box", 0, shell.Run(helper & "second-start", 0, True)
    AssertEqual "the running copy still answers", True, app.Inbox
    AssertTrue "the running copy's Inbox opened a fifth page (Show opens none)", UBound(Split(Trim(Replace(RecordedPages(shell, helper, logPath, 5), vbCr, "")), vbLf)) + 1 = 5
    Set app = Nothing
End If

AssertEqual "the program ends when the script lets go", 0, shell.Run(helper & "wait-exit 30000", 0, True)

' Leave no stored password and no recorder behind.
AssertEqual "the stored credentials are removed", 0, shell.Run(helper & "clear-credentials", 0, True)
StopRecordingPages shell, logPath
