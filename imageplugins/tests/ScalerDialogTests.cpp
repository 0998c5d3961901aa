#include "StagedPlugins.h"
#include "platform/testsupport/TestHooks.h"
#include "platform/ui/Dialog.h"

namespace lumo::test {
namespace {

constexpr const char* kScaler = "scaler.fplg";

bool enabled(DialogDriver& d, UINT id) {
    return d.dialog()->GetDlgItem(static_cast<int>(id))->IsWindowEnabled();
}

struct ScalerDialog : ::testing::Test {
    void SetUp() override { resetHooks(); }
    PFN_Configure configure = stagedFunction<PFN_Configure>(kScaler, "Configure");
};

TEST_F(ScalerDialog, OpensOnThePercentageOfTheOption) {
    RESIZE_OPTION option{0, 250, 1};
    bool ran = false;
    driveNextDialog([&](DialogDriver& d) {
        ran = true;
        EXPECT_EQ(d.check(1002), 1);
        EXPECT_EQ(d.check(1001), 0);
        EXPECT_EQ(d.check(1003), 1);
        EXPECT_EQ(d.text(1005), L"250");
        EXPECT_TRUE(enabled(d, 1005));
        EXPECT_FALSE(enabled(d, 1006));
        EXPECT_FALSE(enabled(d, 1007));
        d.press(IDCANCEL);
    });
    EXPECT_EQ(configure(nullptr, &option), 0) << "cancelled";
    EXPECT_TRUE(ran);
    EXPECT_EQ(option.value, 250u);
}

TEST_F(ScalerDialog, OpensOnTheBoxOfTheOption) {
    RESIZE_OPTION option{1, 640 | (480u << 16), 0};
    driveNextDialog([&](DialogDriver& d) {
        EXPECT_EQ(d.check(1001), 1);
        EXPECT_EQ(d.check(1004), 1);
        EXPECT_EQ(d.text(1006), L"640");
        EXPECT_EQ(d.text(1007), L"480");
        EXPECT_FALSE(enabled(d, 1005));
        EXPECT_TRUE(enabled(d, 1006));
        d.click(1003);
        EXPECT_TRUE(enabled(d, 1005)) << "choosing the percentage enables its field";
        EXPECT_FALSE(enabled(d, 1007));
        d.press(IDOK);
        EXPECT_FALSE(d.ended()) << "the percentage field is empty";
        d.typeText(1005, L"75");
        d.press(IDOK);
    });
    ASSERT_EQ(configure(nullptr, &option), 1);
    EXPECT_EQ(option.mode, 0);
    EXPECT_EQ(option.value, 75u);
    EXPECT_EQ(option.smooth, 0);
}

TEST_F(ScalerDialog, OkAcceptsOnlyValidNumbers) {
    const struct {
        UINT choice;
        const wchar_t* percent;
        const wchar_t* width;
        const wchar_t* height;
        bool accepted;
        RESIZE_OPTION result;
    } rows[] = {
        {1003, L"120", L"", L"", true, {0, 120, 1}},
        {1003, L"12abc", L"", L"", true, {0, 12, 1}},
        {1003, L"0", L"", L"", false, {}},
        {1003, L"-5", L"9", L"9", false, {}},
        {1003, L"abc", L"", L"", false, {}},
        {1004, L"", L"320", L"240", true, {1, 320 | (240u << 16), 1}},
        {1004, L"50", L"320", L"0", false, {}},
        {1004, L"50", L"", L"240", false, {}},
    };
    for (const auto& row : rows) {
        RESIZE_OPTION option{0, 250, 1};
        bool endedByOk = false;
        driveNextDialog([&](DialogDriver& d) {
            d.click(row.choice);
            d.typeText(1005, row.percent);
            d.typeText(1006, row.width);
            d.typeText(1007, row.height);
            d.press(IDOK);
            endedByOk = d.ended();
            if (!endedByOk)
                d.press(IDCANCEL);
        });
        int result = configure(nullptr, &option);
        EXPECT_EQ(endedByOk, row.accepted) << std::wstring(row.percent).size();
        EXPECT_EQ(result, row.accepted ? 1 : 0);
        RESIZE_OPTION expected = row.accepted ? row.result : RESIZE_OPTION{0, 250, 1};
        EXPECT_EQ(option.mode, expected.mode);
        EXPECT_EQ(option.value, expected.value);
        EXPECT_EQ(option.smooth, expected.smooth);
    }
}

TEST_F(ScalerDialog, NearestChoiceClearsSmooth) {
    RESIZE_OPTION option{0, 250, 1};
    driveNextDialog([](DialogDriver& d) {
        d.click(1001);
        EXPECT_EQ(d.check(1002), 0) << "one group";
        EXPECT_EQ(d.check(1003), 1) << "the size group is separate";
        d.press(IDOK);
    });
    ASSERT_EQ(configure(nullptr, &option), 1);
    EXPECT_EQ(option.smooth, 0);
    EXPECT_EQ(option.value, 250u);
    EXPECT_EQ(configure(nullptr, nullptr), 0);
}

} // namespace
} // namespace lumo::test
