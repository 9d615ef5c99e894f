#pragma once
// The fixed data the service starts from: the test accounts with their messages, contacts and groups, and
// (when asked for) the demo account. Every test set-up operation and POST /standin/reset restore it.

class Store;

namespace fixtures {

// Replaces all accounts, messages, contacts and groups by the fixtures (the request log stays). The caller
// runs it inside a transaction.
void restore(Store& store, bool withDemo);

} // namespace fixtures
