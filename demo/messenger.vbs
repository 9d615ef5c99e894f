' Signs in to the stand-in's demo account, sends a message to the account's own number and lists
' the inbox. The SDK's default base address is the stand-in on 127.0.0.1:8642.
Option Explicit
Const USER_NAME = "demo"
Const PASSWORD = "demo"
Const ACCOUNT_REFERENCE = "DEMO01"
Const MESSAGE_TYPE_TEXT = 1

Dim account, state, sender, inbox, messageId, messages, message

Function SignedIn(progId)
    Dim service
    Set service = CreateObject(progId)
    service.Initialise USER_NAME, PASSWORD, ACCOUNT_REFERENCE
    Set SignedIn = service
End Function

Sub Abandon(what)
    WScript.Echo "Demo failed: " & what & ": " & Err.Description & " (0x" & Hex(Err.Number) & ")"
    WScript.Quit 1
End Sub

On Error Resume Next
Set account = SignedIn("Tarvock.AccountService")
Set state = account.GetAccountState
If Err.Number <> 0 Then Abandon "signing in"
WScript.Echo "Signed in as " & USER_NAME & ": account " & state.Reference & ", number " & state.Address & _
    ", alias " & state.ServiceAlias & ", message limit " & state.MessageLimit

Set sender = SignedIn("Tarvock.SendService2")
messageId = sender.SendMessage(state.Address, "Hello from the SDK demo.", MESSAGE_TYPE_TEXT)
If Err.Number <> 0 Then Abandon "sending"
WScript.Echo "Sent message " & messageId & " to " & state.Address & "; message limit now " & account.GetMessageLimit

Set inbox = SignedIn("Tarvock.InboxService2")
Set messages = inbox.GetMessages
If Err.Number <> 0 Then Abandon "reading the inbox"
WScript.Echo "Inbox of " & state.Reference & ": " & messages.Count & " messages, newest first"
For Each message In messages
    WScript.Echo "  #" & message.MessageIndex & "  " & message.ReceivedAt & "  from " & message.Originator & _
        ": " & message.Body
Next
WScript.Echo "Demo completed."
