' The services as a script uses them: send to two recipients, read the account state, list the
' inbox, and pass indexes by reference.
Dim send, account, inbox, ids, state, messages, message, lastIndex, most, last, body, count, id, number

StandinReset
PointSdkAtStandin

Set send = CreateObject("Tarvock.SendService2")
send.Initialise "test", "test", "TEST01"
Set ids = send.SendMessageMultipleRecipients("447700900301,447700900101", "Hello from a script", 1)
AssertEqual "one identifier per recipient", 2, ids.Count
AssertEqual "identifiers are GUIDs", 36, Len(ids.Item(1))
AssertTrue "identifiers differ", ids.Item(1) <> ids.Item(2)
count = 0
For Each id In ids
    count = count + 1
Next
AssertEqual "identifiers enumerate", 2, count

last = StandinLastRequest()
AssertEqual "sent to the send end point", "SendService", StandinField(last, "endPoint")
AssertEqual "sent as its operation", "SendMessageMultipleRecipients", StandinField(last, "operation")
body = StandinField(last, "body")
AssertTrue "first recipient as a string item", InStr(body, ">447700900301</string>") > 0
AssertTrue "second recipient after it", InStr(body, ">447700900101</string>") > InStr(body, ">447700900301</string>")
AssertTrue "type as its text", InStr(body, ">Text</type>") > 0
AssertTrue "credentials sent", InStr(body, ">TEST01</Account>") > 0

On Error Resume Next
number = ids.Item(3)
' A failure without a description reaches a script as its error 5.
AssertError "no third identifier", 5, ""
send.SendMessage "447700900301", "x", 5
AssertError "type 5 refused", 5, ""
send.SendMessage "447700900301", "", 1
AssertError "empty body named", &H80070057, "Body"
On Error GoTo 0
AssertEqual "refusals send nothing", "SendMessageMultipleRecipients", StandinField(StandinLastRequest(), "operation")

Set account = CreateObject("Tarvock.AccountService")
account.Initialise "test", "test", "TEST01"
Set state = account.GetAccountState()
AssertEqual "account reference", "TEST01", state.Reference
AssertEqual "account address", "447700900101", state.Address
AssertEqual "service alias", "TestAlias", state.ServiceAlias
' Two messages were charged to the limit of 100.
AssertEqual "message limit", 98, state.MessageLimit
AssertEqual "features", 3, state.Features
AssertEqual "limit alone", 98, account.GetMessageLimit()

account.Initialise "test", "nottest", "TEST01"
On Error Resume Next
Set state = account.GetAccountState()
AssertError "wrong password", &H80020002, "Authentication failed"
On Error GoTo 0

Set inbox = CreateObject("Tarvock.InboxService2")
inbox.Initialise "test", "test", "TEST01"
Set messages = inbox.GetMessages()
AssertEqual "five fixtures and the one sent to the own address", 6, messages.Count
Set message = messages.Item(1)
AssertEqual "newest first", 6, message.MessageIndex
AssertEqual "own message body", "Hello from a script", message.Body
AssertEqual "own message recipient", "447700900101", message.Recipient
AssertEqual "own message delivered", 3, message.Status
count = 0
For Each message In messages
    count = count + 1
    AssertEqual "index order " & count, 7 - count, message.MessageIndex
Next

' Variables are passed by reference.
lastIndex = 4
most = 1
Set messages = inbox.GetLatestMessages(lastIndex, most)
AssertEqual "one latest after index 4", 1, messages.Count
AssertEqual "the newest of them", 6, messages.Item(1).MessageIndex
body = StandinField(StandinLastRequest(), "body")
AssertTrue "index sent", InStr(body, ">4</lastMessageIndex>") > 0
AssertTrue "maximum sent", InStr(body, ">1</maxMessages>") > 0
Set messages = inbox.GetLatestMessages(lastIndex)
AssertEqual "two latest after index 4", 2, messages.Count
AssertTrue "omitted maximum sent as -1", InStr(StandinField(StandinLastRequest(), "body"), ">-1</maxMessages>") > 0

lastIndex = "4"
On Error Resume Next
Set messages = inbox.GetLatestMessages(lastIndex)
AssertError "a string index refused", 5, ""
On Error GoTo 0

Set message = inbox.GetMessage("20000000-0000-4000-8000-000000000003")
AssertEqual "one message by identifier", "Just past midnight", message.Body
AssertEqual "read through GetMessageByID", "GetMessageByID", StandinField(StandinLastRequest(), "operation")
