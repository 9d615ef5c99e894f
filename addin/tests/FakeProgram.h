// The desktop program as the add-in reaches it through COM, played inside the test process: a
// class object registered for the program's class hands out objects that record every command
// and answer as the test says.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "TarvockBrindlepost.h"

class FakeProgram {
public:
    FakeProgram();   // registers the class object
    ~FakeProgram();  // revokes it

    // How the next commands answer.
    VARIANT_BOOL accepted = VARIANT_TRUE;
    HRESULT failure = S_OK;            // a failing result instead
    std::wstring failureText;          // the error info's description with it
    int disconnectedCalls = 0;         // so many calls answer RPC_E_DISCONNECTED first
    HRESULT creationFailure = S_OK;    // the class object refuses to create objects

    std::vector<std::wstring> commands;  // "Show", "Inbox"... in order
    int created = 0;                     // objects handed out

    bool Registered() const { return m_cookie != 0; }

private:
    class Factory;
    class Program;
    DWORD m_cookie = 0;
    Factory* m_factory = nullptr;
};
