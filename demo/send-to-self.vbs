' Signs in to the stand-in's demo account and sends one message to the account's own number, for
' the desktop program's inbox poll to announce. The last line tells whether it worked.
Option Explicit
Const USER_NAME = "demo"
Const PASSWORD = "demo"
Const ACCOUNT_REFERENCE = "DEMO01"
Const MESSAGE_TYPE_TEXT = 1

Dim account, sender, number, messageId

On Error Resume Next
Set account = CreateObject("Tarvock.AccountService")
account.Initialise USER_NAME, PASSWORD, ACCOUNT_REFERENCE
number = account.GetAccountState.Address
Set sender = CreateObject("Tarvock.SendService2")
sender.Initialise USER_NAME, PASSWORD, ACCOUNT_REFERENCE
messageId = sender.SendMessage(number, "Hello from the desktop demo: this message was sent to your own number.", MESSAGE_TYPE_TEXT)
If Err.Number <> 0 Then
    WScript.Echo "Sending failed: " & Err.Description & " (0x" & Hex(Err.Number) & ")"
    WScript.Quit 1
End If
WScript.Echo "Sent message " & messageId & " to " & number
WScript.Echo "Message sent."
