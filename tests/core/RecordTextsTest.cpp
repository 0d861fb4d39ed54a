#include "lists/RecordTexts.h"
#include "lists/IncreasingOffsets.h"
#include "lists/WholeOffsets.h"
#include "util/Encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vyp {
namespace {

// The store behaves the same whichever way it keeps its ends.
template <typename Ends> class RecordTextsTest : public ::testing::Test {};
using EndKinds = ::testing::Types<WholeOffsets, IncreasingOffsets>;
TYPED_TEST_SUITE(RecordTextsTest, EndKinds);

// Names as a Windows-1250 list holds them (Czech accents as single bytes), with records of no
// bytes and records longer than a 16-bit step between them.
std::vector<std::string> Windows1250Names(size_t count) {
    const std::vector<std::string> words = {"P\xf8\x65hled \xfa\xe8t\xf9.ods", "",
                                            "Fotky\\Dovolen\xe1 u mo\xf8\x65\\", "readme.v2.TXT",
                                            std::string(70'000, 'x')};
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i)
        names.push_back(words[i % words.size()] + (i % 3 == 0 ? "" : std::to_string(i)));
    return names;
}

template <typename Ends>
RecordTexts<Ends> StoreOf(const std::vector<std::string>& names, size_t from = 0) {
    RecordTexts<Ends> store;
    for (size_t i = from; i < names.size(); ++i)
        store.Add([&](std::string& text) { text.append(names[i]); });
    return store;
}

template <typename Ends>
void ExpectRecords(const RecordTexts<Ends>& store, const std::vector<std::string>& names) {
    ASSERT_EQ(store.Count(), names.size());
    for (size_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(store.Record(i), names[i]) << i;
}

TYPED_TEST(RecordTextsTest, AppendedAndTruncatedRecordsReadBack) {
    const std::vector<std::string> names = Windows1250Names(200);
    RecordTexts<TypeParam> store = StoreOf<TypeParam>(names);
    ExpectRecords(store, names);
    store.Truncate(130);
    ExpectRecords(store, std::vector<std::string>(names.begin(), names.begin() + 130));
    for (size_t i = 130; i < names.size(); ++i)
        store.Add([&](std::string& text) { text.append(names[i]); });
    ExpectRecords(store, names);
    EXPECT_EQ(store.TextFrom(199), names[199]);
    EXPECT_EQ(store.TextFrom(200), "");
}

// Only the records from the first rewritten one change; the ones before keep their bytes and
// the ones after end where their new texts end, however much longer they grew.
TYPED_TEST(RecordTextsTest, RewrittenFromAnyRecordOn) {
    const std::vector<std::string> names = Windows1250Names(150);
    for (const size_t first : {0u, 1u, 63u, 64u, 100u, 149u, 150u}) {
        RecordTexts<TypeParam> store = StoreOf<TypeParam>(names);
        store.RewriteFrom(first, [](std::string_view record, std::string& text) {
            AppendAsUtf8(record, TextEncoding::Windows1250, text);
        });
        std::vector<std::string> expected = names;
        for (size_t i = first; i < expected.size(); ++i)
            expected[i] = ToUtf8(names[i], TextEncoding::Windows1250);
        ExpectRecords(store, expected);
        EXPECT_EQ(store.Record(0), first == 0 ? "Přehled účtů.ods" : names[0]);
    }
}

TEST(RecordTexts, AppendedStoresKeepTheirRecords) {
    const std::vector<std::string> names = Windows1250Names(120);
    RecordTexts<WholeOffsets> store =
        StoreOf<WholeOffsets>(std::vector<std::string>(names.begin(), names.begin() + 70));
    store.Append(StoreOf<WholeOffsets>(names, 70));
    ExpectRecords(store, names);
    RecordTexts<WholeOffsets> empty;
    empty.Append(std::move(store));
    ExpectRecords(empty, names);
}

} // namespace
} // namespace vyp
