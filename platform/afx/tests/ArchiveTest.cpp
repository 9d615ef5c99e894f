// The archive's counts, strings and objects written by class: the byte layout of a small graph,
// the checks that refuse damaged archives, and a fuzz loop over mutated archives that must
// neither crash nor leak.
#include "afxarchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

namespace {

// The cause of the archive exception the action throws, or -1 when it throws none.
int CauseOf(const std::function<void()>& action) {
    try {
        action();
        return -1;
    } catch (CArchiveException* e) {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
}

std::vector<BYTE> Stored(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    write(ar);
    return file.GetData();
}

TEST(Archive, CountsUseAWordBelow0xFFFF) {
    EXPECT_EQ((std::vector<BYTE>{0x34, 0x12}), Stored([](CArchive& ar) { ar.WriteCount(0x1234); }));
    EXPECT_EQ((std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0}), Stored([](CArchive& ar) { ar.WriteCount(0xFFFF); }));
    std::vector<BYTE> bytes = Stored([](CArchive& ar) {
        ar.WriteCount(7);
        ar.WriteCount(70000);
    });
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(7u, ar.ReadCount());
    EXPECT_EQ(70000u, ar.ReadCount());
}

TEST(Archive, StringsCarryTheirLength) {
    EXPECT_EQ((std::vector<BYTE>{3, 'a', 'b', 'c'}), Stored([](CArchive& ar) { ar << CString("abc"); }));
    const std::string longText(300, 'x');
    std::vector<BYTE> bytes = Stored([&](CArchive& ar) {
        ar << CString(longText) << CString("") << (DWORD)0xA1B2C3D4;
    });
    ASSERT_EQ(3u + 300u + 1u + 4u, bytes.size());
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(300 & 0xFF, bytes[1]);
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    CString first, second;
    DWORD value = 0;
    ar >> first >> second >> value;
    EXPECT_EQ(longText, first.str());
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_EQ(0xA1B2C3D4u, value);
}

TEST(Archive, ReadingPastTheEndThrows) {
    std::vector<BYTE> bytes = {1, 2};
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    DWORD value = 0;
    EXPECT_EQ(CArchiveException::endOfFile, CauseOf([&] { ar >> value; }));
}

TEST(Archive, StoringArchiveCannotRead) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_TRUE(ar.IsStoring());
    BYTE value = 0;
    EXPECT_EQ(CArchiveException::writeOnly, CauseOf([&] { ar >> value; }));
}

}  // namespace

namespace {

int g_live = 0;     // test objects alive
int g_created = 0;  // test objects ever made (also their creation numbers)

struct Counted {
    Counted() : m_nCreation(++g_created) { ++g_live; }
    ~Counted() { --g_live; }
    const int m_nCreation;
};

}  // namespace

// A word of a fixed schema (not versionable).
class CTestTag : public CObject, public Counted {
    DECLARE_SERIAL(CTestTag)
public:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_dwWord;
        } else {
            ar >> m_dwWord;
        }
    }
    DWORD m_dwWord = 0;
};
IMPLEMENT_SERIAL(CTestTag, CObject, 1)

// A node owning its children and its tag, with a link to a node read before (or owned, when the
// link was written first there).
class CTestShape : public CObject, public Counted {
    DECLARE_SERIAL(CTestShape)
public:
    ~CTestShape() override {
        for (CTestShape* child : m_children) delete child;
        if (m_bOwnsPeer) delete m_pPeer;
        delete m_pTag;
    }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_strName << m_nValue;
            ar.WriteCount(m_children.size());
            for (CTestShape* child : m_children) ar << child;
            ar << m_pPeer << m_pTag;
            return;
        }
        ar >> m_strName >> m_nValue;
        for (DWORD_PTR count = ar.ReadCount(); count; --count) {
            CTestShape* child = static_cast<CTestShape*>(ar.ReadNewObject(RUNTIME_CLASS(CTestShape)));
            if (child) m_children.push_back(child);
        }
        const int before = g_created;
        m_pPeer = static_cast<CTestShape*>(ar.ReadObject(RUNTIME_CLASS(CTestShape)));
        m_bOwnsPeer = m_pPeer && m_pPeer->m_nCreation > before;
        m_pTag = static_cast<CTestTag*>(ar.ReadNewObject(RUNTIME_CLASS(CTestTag)));
        m_nSchemaRead = ar.GetObjectSchema();
    }
    CString m_strName;
    int m_nValue = 0;
    std::vector<CTestShape*> m_children;
    CTestShape* m_pPeer = nullptr;
    bool m_bOwnsPeer = false;
    CTestTag* m_pTag = nullptr;
    UINT m_nSchemaRead = 0;
};
IMPLEMENT_SERIAL(CTestShape, CObject, VERSIONABLE_SCHEMA | 2)

// Adds a radius from schema 2 on.
class CTestCircle : public CTestShape {
    DECLARE_SERIAL(CTestCircle)
public:
    void Serialize(CArchive& ar) override {
        CTestShape::Serialize(ar);
        if (ar.IsStoring()) {
            ar << m_nRadius;
        } else if (ar.GetObjectSchema() >= 2) {
            ar >> m_nRadius;
        }
    }
    int m_nRadius = 0;
};
IMPLEMENT_SERIAL(CTestCircle, CTestShape, VERSIONABLE_SCHEMA | 2)

// Creatable but not serial.
class CTestPlain : public CObject, public Counted {
    DECLARE_DYNCREATE(CTestPlain)
};
IMPLEMENT_DYNCREATE(CTestPlain, CObject)

// Carries on after a child that fails to read, then reads a link.
class CTestTolerant : public CObject {
    DECLARE_SERIAL(CTestTolerant)
public:
    void Serialize(CArchive& ar) override {
        try {
            delete ar.ReadNewObject(RUNTIME_CLASS(CTestShape));
        } catch (CArchiveException* e) {
            e->Delete();
        }
        m_pLink = ar.ReadObject(nullptr);
    }
    CObject* m_pLink = nullptr;
};
IMPLEMENT_SERIAL(CTestTolerant, CObject, 1)

namespace {

// Archive bytes spelled out by their encodings.
struct Bytes {
    std::vector<BYTE> data;
    Bytes& Byte(BYTE b) { data.push_back(b); return *this; }
    Bytes& Word(WORD w) { return Byte(LOBYTE(w)).Byte(HIBYTE(w)); }
    Bytes& Dword(DWORD d) { return Word(LOWORD(d)).Word(HIWORD(d)); }
    Bytes& Text(const std::string& s) {
        Byte((BYTE)s.size());
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& NewClass(const std::string& name, WORD schema) {
        Word(0xFFFF).Word(schema).Word((WORD)name.size());
        data.insert(data.end(), name.begin(), name.end());
        return *this;
    }
    // The fields of a shape without children, link or tag.
    Bytes& BareShape(const std::string& name, int value) { return Text(name).Dword(value).Word(0).Word(0).Word(0); }
};

// root "root" 1 { circle "a" 2 -> root r5; shape "b" 3 -> a; circle "c" 4 -> c tag 7 r6 } tag A1B2C3D4
const std::vector<BYTE> kGolden = Bytes()
    .NewClass("CTestShape", 2)                  // class 1, object 2
    .Text("root").Dword(1).Word(3)              // name, value, 3 children
    .NewClass("CTestCircle", 2)                 // class 3, object 4
    .Text("a").Dword(2).Word(0).Word(2)         // no children, link to object 2
    .Word(0).Dword(5)                           // no tag, radius 5
    .Word(0x8001)                               // a shape again: object 5
    .Text("b").Dword(3).Word(0).Word(4).Word(0) // link to object 4, no tag
    .Word(0x8003)                               // a circle again: object 6
    .Text("c").Dword(4).Word(0).Word(6)         // link to itself
    .NewClass("CTestTag", 1).Dword(7)           // class 7, object 8
    .Dword(6)                                   // radius 6
    .Word(0)                                    // root: no link
    .Word(0x8007).Dword(0xA1B2C3D4)             // a tag again: object 9
    .data;

std::vector<BYTE> Store(const CObject* object) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar << object;
    return file.GetData();
}

CTestShape* Shape(CTestShape* shape, const char* name, int value) {
    shape->m_strName = name;
    shape->m_nValue = value;
    return shape;
}

// Reads a shape from the bytes; the cause of the archive exception, or -1 when it reads.
int Load(const std::vector<BYTE>& bytes, CTestShape*& shape) {
    shape = nullptr;
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    return CauseOf([&] { ar >> shape; });
}

// Reading the bytes fails with the cause, creating at most `created` objects and leaving none.
void ExpectRefused(const std::vector<BYTE>& bytes, int cause, int created) {
    const int before = g_created;
    CTestShape* shape = nullptr;
    EXPECT_EQ(cause, Load(bytes, shape));
    EXPECT_EQ(nullptr, shape);
    EXPECT_EQ(0, g_live);
    EXPECT_LE(g_created - before, created);
}

TEST(Serial, AGraphIsWrittenInItsGoldenBytesAndReadBackToTheSameBytes) {
    {
        CTestShape root;
        Shape(&root, "root", 1);
        auto* a = static_cast<CTestCircle*>(Shape(new CTestCircle, "a", 2));
        a->m_nRadius = 5;
        a->m_pPeer = &root;
        auto* b = Shape(new CTestShape, "b", 3);
        b->m_pPeer = a;
        auto* c = static_cast<CTestCircle*>(Shape(new CTestCircle, "c", 4));
        c->m_nRadius = 6;
        c->m_pPeer = c;
        c->m_pTag = new CTestTag;
        c->m_pTag->m_dwWord = 7;
        root.m_children = {a, b, c};
        root.m_pTag = new CTestTag;
        root.m_pTag->m_dwWord = 0xA1B2C3D4;
        EXPECT_EQ(kGolden, Store(&root));
    }
    ASSERT_EQ(0, g_live);

    CTestShape* root = nullptr;
    ASSERT_EQ(-1, Load(kGolden, root));
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(RUNTIME_CLASS(CTestShape), root->GetRuntimeClass());
    EXPECT_EQ(std::string("root"), root->m_strName.str());
    // The schema stays the root's after its children (of other classes) were read.
    EXPECT_EQ(2u, root->m_nSchemaRead);
    ASSERT_EQ(3u, root->m_children.size());
    auto* a = dynamic_cast<CTestCircle*>(root->m_children[0]);
    auto* c = dynamic_cast<CTestCircle*>(root->m_children[2]);
    ASSERT_TRUE(a && c);
    EXPECT_EQ(5, a->m_nRadius);
    EXPECT_EQ(root, a->m_pPeer);
    EXPECT_FALSE(a->m_bOwnsPeer);
    EXPECT_EQ(a, root->m_children[1]->m_pPeer);
    EXPECT_EQ(c, c->m_pPeer);
    EXPECT_EQ(7u, c->m_pTag->m_dwWord);
    EXPECT_EQ(6, c->m_nRadius);
    EXPECT_EQ(0xA1B2C3D4u, root->m_pTag->m_dwWord);
    EXPECT_EQ(6, g_live);  // four shapes, two tags
    EXPECT_EQ(kGolden, Store(root));
    delete root;
    EXPECT_EQ(0, g_live);
}

TEST(Serial, AnOlderSchemaOfAVersionableClassIsReadByTheClass) {
    const std::vector<BYTE> old = Bytes().NewClass("CTestCircle", 1).BareShape("old", 9).data;
    CTestShape* shape = nullptr;
    ASSERT_EQ(-1, Load(old, shape));
    EXPECT_EQ(1u, shape->m_nSchemaRead);
    EXPECT_EQ(0, static_cast<CTestCircle*>(shape)->m_nRadius);
    delete shape;

    // A class that is not versionable must carry its own schema.
    ExpectRefused(Bytes().NewClass("CTestShape", 2).Text("x").Dword(0).Word(0).Word(0)
                      .NewClass("CTestTag", 2).Dword(0).data,
                  CArchiveException::badSchema, 1);
}

TEST(Serial, DamagedArchivesEndWithAnArchiveExceptionAndLeaveNothing) {
    // A class that is not the requested kind, not serial, unknown or too long: nothing is made.
    ExpectRefused(Bytes().NewClass("CTestTag", 1).Dword(1).data, CArchiveException::badClass, 0);
    ExpectRefused(Bytes().NewClass("CTestPlain", 1).data, CArchiveException::badClass, 0);
    ExpectRefused(Bytes().NewClass("CObject", 1).data, CArchiveException::badClass, 0);
    ExpectRefused(Bytes().NewClass("CTestShapeX", 2).BareShape("x", 0).data, CArchiveException::badClass, 0);
    ExpectRefused(Bytes().NewClass(std::string(64, 'C'), 2).data, CArchiveException::badClass, 0);
    ExpectRefused(Bytes().NewClass(std::string("CTestShape\0z", 12), 2).BareShape("x", 0).data,
                  CArchiveException::badClass, 0);
    // A known class of the wrong kind deep in the graph: the nodes read so far are freed.
    ExpectRefused(Bytes().NewClass("CTestShape", 2).Text("r").Dword(0).Word(1)
                      .NewClass("CTestTag", 1).Dword(1).data,
                  CArchiveException::badClass, 1);

    // References outside the map, or to the other kind of entry.
    ExpectRefused(Bytes().Word(5).data, CArchiveException::badIndex, 0);
    ExpectRefused(Bytes().Word(0x8009).data, CArchiveException::badIndex, 0);
    ExpectRefused(Bytes().Word(0x8000).data, CArchiveException::badIndex, 0);
    ExpectRefused(Bytes().Word(0x7FFF).Dword(0x80000000u | 0x12345).data, CArchiveException::badIndex, 0);
    ExpectRefused(Bytes().NewClass("CTestShape", 2).Text("r").Dword(0).Word(1).Word(1).data,
                  CArchiveException::badIndex, 1);  // object slot naming class 1
    ExpectRefused(Bytes().NewClass("CTestShape", 2).Text("r").Dword(0).Word(1).Word(0x8002).data,
                  CArchiveException::badIndex, 1);  // class tag naming object 2
    // A child slot owns what it reads: a reference to the node itself is refused.
    ExpectRefused(Bytes().NewClass("CTestShape", 2).Text("r").Dword(0).Word(1).Word(2).data,
                  CArchiveException::badIndex, 1);
    // A failure deep in the graph frees every node read so far.
    ExpectRefused(Bytes().NewClass("CTestShape", 2).Text("r").Dword(0).Word(2)
                      .Word(0x8001).BareShape("s", 0).Word(0x8001).Text("t").Dword(0).Word(1).Word(0xFFFF).Word(2)
                      .Word(40).data,
                  CArchiveException::endOfFile, 3);

    // Nesting deeper than any real archive: refused before the stack runs out.
    Bytes deep;
    deep.NewClass("CTestShape", 2).Text("").Dword(0).Word(1);
    for (int level = 0; level < 5000; ++level) deep.Word(0x8001).Text("").Dword(0).Word(1);
    ExpectRefused(deep.data, CArchiveException::genericException, 300);

    // A reader that carries on after a failed child cannot reach the freed child.
    const std::vector<BYTE> tolerant = Bytes().NewClass("CTestTolerant", 1)
        .NewClass("CTestShape", 2).Text("gone").Dword(0).Word(0).Word(0).Word(0x8001)  // class 1 as a tag
        .Word(4).data;                                                                  // the freed child
    CMemFile tolerantFile(tolerant.data(), (UINT)tolerant.size());
    CArchive tolerantReader(&tolerantFile, CArchive::load);
    EXPECT_EQ(CArchiveException::badIndex, CauseOf([&] { delete tolerantReader.ReadObject(nullptr); }));
    EXPECT_EQ(0, g_live);

    // A string longer than the bytes left ends the read, whatever its length says.
    ExpectRefused(Bytes().NewClass("CTestShape", 2).Byte(0xFF).Word(0xFFFF).Dword(0xFFFFFFFF).data,
                  CArchiveException::endOfFile, 1);
    // (Nothing as large as the length is even asked of the file.)
    struct WatchedFile : CMemFile {
        using CMemFile::CMemFile;
        UINT Read(void* buffer, UINT count) override {
            largest = std::max(largest, count);
            return CMemFile::Read(buffer, count);
        }
        UINT largest = 0;
    };
    const std::vector<BYTE> text = Bytes().Byte(0xFF).Word(0xFFFF).Dword(0xFFFFFFF0).Text("abc").data;
    WatchedFile file(text.data(), (UINT)text.size());
    CArchive ar(&file, CArchive::load);
    CString value;
    EXPECT_EQ(CArchiveException::endOfFile, CauseOf([&] { ar >> value; }));
    EXPECT_LE(file.largest, 4u);

    // Objects are written only to a storing archive, and only of serial classes.
    CTestPlain plain;
    CTestTag tag;
    for (auto attempt : std::vector<std::pair<UINT, const CObject*>>{{CArchive::load, &tag},
                                                                      {CArchive::store, &plain}}) {
        CMemFile out;
        CArchive writer(&out, attempt.first);
        EXPECT_EQ(attempt.first == CArchive::load ? CArchiveException::readOnly : CArchiveException::badClass,
                  CauseOf([&] { writer << attempt.second; }));
        EXPECT_EQ(0u, out.GetLength());
    }
}

TEST(Serial, MutatedArchivesNeverCrashHangOrLeak) {
    std::mt19937 random(20261209);
    const BYTE interesting[] = {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFF};
    int read = 0, refused = 0;
    for (int round = 0; round < 12000; ++round) {
        std::vector<BYTE> bytes = kGolden;
        const int edits = 1 + (int)(random() % 4);
        for (int edit = 0; edit < edits && !bytes.empty(); ++edit) {
            const size_t at = random() % bytes.size();
            switch (random() % 5) {
            case 0: bytes[at] = (BYTE)random(); break;
            case 1: bytes[at] = interesting[random() % sizeof interesting]; break;
            case 2: bytes.resize(at); break;
            case 3: bytes.insert(bytes.begin() + at, (BYTE)random()); break;
            case 4: bytes.erase(bytes.begin() + at, bytes.begin() + std::min(bytes.size(), at + 1 + random() % 8)); break;
            }
        }
        CTestShape* shape = nullptr;
        try {
            if (Load(bytes, shape) == -1) {
                ++read;
                // What reads writes again and reads back the same.
                const std::vector<BYTE> again = Store(shape);
                delete shape;
                ASSERT_EQ(-1, Load(again, shape));
                EXPECT_EQ(again, Store(shape));
                delete shape;
            } else {
                ++refused;
            }
        } catch (...) {
            ADD_FAILURE() << "a mutated archive threw something else than an archive exception, round " << round;
        }
        ASSERT_EQ(0, g_live) << "round " << round;
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 1000);
}

}  // namespace
