// The test host of our mail client add-in: the fake object model it serves (FakeOutlook), the
// log of every call made on it (CallLog), the loader that connects registered add-ins the way
// the mail client does (AddinHost) and the capture of an add-in's message boxes.
#pragma once

#include "CallLog.h"
#include "FakeOutlook.h"
#include "AddinHost.h"
#include "MessageBoxCapture.h"
