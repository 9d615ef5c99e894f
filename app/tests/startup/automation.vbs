' The program as a script's automation server: CreateObject starts it through COM (it is
' registered by the fixture), a call while signed out brings up its sign-in dialog and, cancelled,
' answers False; the exit command is refused while the script holds the object; released, the
' program that COM started ends. Argument: the folder of the program and automation_helper.exe.
Dim shell, bin, helper, app, result
Set shell = CreateObject("WScript.Shell")
bin = Replace(WScript.Arguments(0), "/", "\")
helper = """" & bin & "\automation_helper.exe"" "

' No stored credentials: the program that COM starts does not sign in by itself.
AssertEqual "no stored credentials", 0, shell.Run(helper & "clear-credentials", 0, True)
On Error Resume Next

Set app = CreateObject("TarvockBrindlepost.Application")
AssertNoError "CreateObject starts the program through COM"
AssertEqual "the object's type", "IApplication", TypeName(app)

If Not app Is Nothing Then
    ' The call runs the sign-in dialog inside it; the helper cancels that dialog.
    shell.Run helper & "cancel-sign-in 60000", 0, False
    result = app.Show
    AssertNoError "Show while signed out"
    AssertEqual "Show answers False when the sign-in is cancelled", False, result

    shell.Run helper & "cancel-sign-in 60000", 0, False
    result = app.Inbox
    AssertNoError "Inbox while signed out"
    AssertEqual "Inbox answers False when the sign-in is cancelled", False, result

    ' Exit is refused (message 113) while this script holds the object.
    AssertEqual "exit is refused while the script holds the object", 0, shell.Run(helper & "exit-refused", 0, True)

    shell.Run helper & "cancel-sign-in 60000", 0, False
    result = app.SendSMS
    AssertNoError "the program still answers after the refused exit"
    AssertEqual "SendSMS answers False when the sign-in is cancelled", False, result
    Set app = Nothing
End If

' The last client left a program that COM started: it ends.
AssertEqual "the program ends when the script lets go", 0, shell.Run(helper & "wait-exit 30000", 0, True)
