' Asks the running desktop program, through its automation object, to open a send window. The
' last line tells whether it worked.
Option Explicit
Dim app, accepted
On Error Resume Next
Set app = CreateObject("TarvockBrindlepost.Application")
accepted = app.SendSMS
If Err.Number <> 0 Then
    WScript.Echo "SendSMS failed: " & Err.Description & " (0x" & Hex(Err.Number) & ")"
    WScript.Quit 1
End If
If Not accepted Then
    WScript.Echo "The program refused the send command."
    WScript.Quit 1
End If
Set app = Nothing
WScript.Echo "Send window opened."
