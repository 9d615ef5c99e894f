// Ids of the "XML" request templates in the satellite library, one per operation.
#pragma once

#include <windows.h>

namespace RequestTemplate {
const UINT SendMessageFull = 202;
const UINT SendMessage = 203;
const UINT GetMessageStatus = 204;
const UINT SendMessageMultipleRecipients = 205;
const UINT SendMessageMultipleRecipientsFull = 206;
const UINT GetMessages = 209;
const UINT DeleteMessage = 210;
const UINT DeleteMessages = 211;
const UINT GetMessageLimit = 212;
const UINT GetMessagesByID = 215;
const UINT GetMessagesForDateRange = 216;
const UINT GetMessagesForDay = 217;
const UINT GetMessageByID = 218;
const UINT SetupTests = 233;
const UINT DefaultEvaluationSignup = 234;
const UINT GetAccountFeatures = 236;
const UINT GetLatestMessages = 237;
const UINT GetAccountState = 238;
const UINT GetCurrentVersion = 239;
}  // namespace RequestTemplate
