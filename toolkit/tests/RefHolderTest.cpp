// The reference holder of the toolkit's members: what it does to the count of the object it holds.
#include "commandbars/TkRefHolder.h"

#include "afxwin.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// A reference-counted object that tells its count and when it is gone.
class CCounted : public CCmdTarget {
public:
    explicit CCounted(bool* gone) : m_gone(gone) {}
    ~CCounted() override { *m_gone = true; }
    LONG Count() const { return m_dwRef; }

private:
    bool* m_gone;
};

}  // namespace

TEST(RefHolderTest, TakingAndResettingAddAndReleaseOneReference) {
    bool gone = false;
    auto* object = new CCounted(&gone);
    {
        CTkRef<CCounted> held(object);
        EXPECT_EQ(2, object->Count());
        EXPECT_EQ(object, held.Get());
        EXPECT_EQ(object, static_cast<CCounted*>(held));
        held.Reset(object);  // the same object again: no second reference
        EXPECT_EQ(2, object->Count());
        held.Reset();
        EXPECT_EQ(1, object->Count());
        EXPECT_EQ(nullptr, held.Get());
        held.Reset(object);
        EXPECT_EQ(2, object->Count());
    }
    EXPECT_EQ(1, object->Count());
    EXPECT_FALSE(gone);
    object->InternalRelease();
    EXPECT_TRUE(gone);
}

TEST(RefHolderTest, CopiesHoldReferencesOfTheirOwnAndMovesHandTheirsOver) {
    bool gone = false;
    CTkRef<CCounted> first = TkAdoptRef(new CCounted(&gone));
    CCounted* object = first;
    EXPECT_EQ(1, object->Count());
    {
        CTkRef<CCounted> copy(first);
        EXPECT_EQ(2, object->Count());
        CTkRef<CCounted> assigned;
        assigned = copy;
        EXPECT_EQ(3, object->Count());
        CTkRef<CCounted> moved(std::move(copy));
        EXPECT_EQ(3, object->Count());
        EXPECT_EQ(nullptr, copy.Get());
        EXPECT_EQ(object, moved.Get());
        assigned = std::move(moved);  // both held the object: one reference goes
        EXPECT_EQ(2, object->Count());
        EXPECT_EQ(nullptr, moved.Get());
    }
    EXPECT_EQ(1, object->Count());
    first = CTkRef<CCounted>();
    EXPECT_TRUE(gone);
}

TEST(RefHolderTest, AttachAdoptsAReferenceAndDetachGivesItBack) {
    bool firstGone = false, secondGone = false;
    auto* first = new CCounted(&firstGone);
    auto* second = new CCounted(&secondGone);
    CTkRef<CCounted> held;
    held.Attach(first);
    EXPECT_EQ(1, first->Count());
    held.Attach(second);  // the reference on the first goes
    EXPECT_TRUE(firstGone);
    EXPECT_EQ(1, second->Count());
    EXPECT_EQ(second, held.Detach());
    EXPECT_EQ(nullptr, held.Get());
    EXPECT_EQ(1, second->Count());
    EXPECT_FALSE(secondGone);
    second->InternalRelease();
    EXPECT_TRUE(secondGone);
}
