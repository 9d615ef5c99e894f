#include "Store.h"

#include "Schema.h"

Store::Store(const std::string& path)
    : db_(path.empty() ? ":memory:" : path), accounts_(db_), messages_(db_), contacts_(db_), requestLog_(db_)
{
    schema::create(db_);
}

bool Store::isEmpty()
{
    auto st = db_.prepare("SELECT COUNT(*) FROM accounts");
    return !st.step() || st.integer(0) == 0;
}
