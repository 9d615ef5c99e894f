' The add-in in the host that plays the mail client, driving the real desktop program: a click
' starts the program through COM; signed in from the stored credentials it opens the button's
' web page (recorded by automation_helper's record-url, the http and https "open" command
' meanwhile); signed out, the cancelled sign-in makes the add-in show its warning box.
' Argument: the folder of the programs.
'#include "../../app/tests/support/browser_recorder.vbs"
Dim shell, fso, bin, helper, host, logPath, urlLog, lines, urls, base, warning, expected, got, i

Set shell = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
bin = Replace(WScript.Arguments(0), "/", "\")
helper = """" & bin & "\automation_helper.exe"" "
host = """" & bin & "\OutlookHost.exe"" "
logPath = bin & "\addin_host.log"
urlLog = bin & "\addin_urls.log"

Function ReadText(path)
    Dim file
    ReadText = ""
    If fso.FileExists(path) Then
        Set file = fso.OpenTextFile(path, 1)
        If Not file.AtEndOfStream Then ReadText = file.ReadAll
        file.Close
    End If
End Function

Function LineCount(text)
    If Trim(Replace(Replace(text, vbCr, ""), vbLf, "")) = "" Then
        LineCount = 0
    Else
        LineCount = UBound(Split(Trim(Replace(text, vbCr, "")), vbLf)) + 1
    End If
End Function

' Whether a recorded page begins with the address; a page found is blanked so it counts once.
Function TakePage(pages, address)
    Dim k
    TakePage = False
    For k = 0 To UBound(pages)
        If InStr(pages(k), address) = 1 Then
            pages(k) = ""
            TakePage = True
            Exit Function
        End If
    Next
End Function

' Wine's script host has no RegDelete: the helper removes the stored credentials.
Sub ClearStoredCredentials
    AssertEqual "the stored credentials are removed", 0, shell.Run(helper & "clear-credentials", 0, True)
End Sub

StartRecordingPages shell, helper, urlLog
On Error Resume Next

' Signed in: inbox, account options, purchase and sent items, and the inbox again.
AssertEqual "the test account's credentials are stored", 0, _
    shell.Run(helper & "store-credentials test test TEST01", 0, True)
AssertEqual "the host ran its commands", 0, _
    shell.Run(host & "--log """ & logPath & """ connect click 3 click 5 click 6 click 4 click 3 disconnect", 0, True)
lines = ReadText(logPath)
AssertTrue "the add-in connected: " & lines, InStr(lines, "Host.Connect TarvockOfficePlugin.Addin -> 0x00000000") > 0
AssertTrue "six buttons", InStr(lines, "-> Button6") > 0
AssertTrue "no message box", InStr(lines, "MessageBox") = 0
AssertTrue "the holders unadvised", InStr(lines, "Button6.Unadvise") > 0

urls = RecordedPages(shell, helper, urlLog, 5)
base = "http://127.0.0.1:8642/secure/"
AssertEqual "five pages: " & urls, 5, LineCount(urls)
expected = Array(base & "messenger/inbox.aspx?accountID=", base & "messenger/options.aspx?accountID=", _
                 base & "purchase/product.select.aspx?accountID=", base & "messenger/sentMessages.aspx?accountID=", _
                 base & "messenger/inbox.aspx?accountID=")
' Each page opens in a recorder process of its own, and under load they may record out of order:
' every expected page must be among the recorded ones, each recorded page counted once.
got = Split(Trim(Replace(urls, vbCr, "")), vbLf)
For i = 0 To 4
    AssertTrue "page " & expected(i) & " was opened: " & urls, TakePage(got, expected(i))
Next
AssertEqual "the program ends once the host lets go", 0, shell.Run(helper & "wait-exit 30000", 0, True)

' Signed out: the program asks for a sign-in, which is cancelled; the add-in shows its warning.
ClearStoredCredentials
shell.Run helper & "cancel-sign-in 60000", 0, False
AssertEqual "the host ran its commands signed out", 0, _
    shell.Run(host & "--log """ & logPath & """ connect click 1 disconnect", 0, True)
lines = ReadText(logPath)
warning = "MessageBox caption=""Tarvock Brindlepost"" text=""Tarvock Velko did not carry out the command. " & _
          "Please sign in to your account and try again."" type=0x00000030"
AssertTrue "the warning box: " & lines, InStr(lines, warning) > 0
AssertEqual "one box", 1, UBound(Split(lines, "MessageBox ")) 
AssertEqual "the program ends once the host lets go again", 0, shell.Run(helper & "wait-exit 30000", 0, True)

' Leave no stored password and no recorder behind.
ClearStoredCredentials
StopRecordingPages shell, urlLog
If fso.FileExists(logPath) Then fso.DeleteFile logPath
