// The form views' data exchange: fields shown and read by id, a bad number stops the read with
// its message, flag words read as the forms read them, and an apply on every focus loss.

#include "AppTestSupport.h"
#include "ui/FormFields.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class FormFields : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        EnsureQApplication();
        m_holder = std::make_unique<QWidget>();
        CFormLayout layout(Form());
        layout.Edit(QStringLiteral("Number:"), 10, true);
        layout.ButtonEdit(QStringLiteral("Flags:"), 11, 12);
        layout.Edit(QStringLiteral("Light:"), 13);
        layout.Combo(QStringLiteral("Mode:"), 14,
                     {QStringLiteral("0 - A"), QStringLiteral("1 - B")});
        layout.Edit(QStringLiteral("Name:"), 15);
        layout.Finish();
    }

    void TearDown() override
    {
        m_holder.reset();
        AppTest::TearDown();
    }

    struct Record {
        int number = 3;
        std::uint32_t flags = 0x4000;
        float light = 0.5f;
        std::string mode = "1 - B";
        std::string name = "gate";
    };

    // Exchanges every field of record in the given direction; returns Ok.
    bool Exchange(Record& record, CFieldExchange::EDirection direction)
    {
        CFieldExchange ex(Form(), direction);
        ex.Int(10, record.number);
        ex.Hex(12, record.flags);
        ex.Float(13, record.light);
        ex.Text(14, record.mode);
        ex.Text(15, record.name);
        return ex.Ok();
    }

    QString TextOf(int id) { return Control<QLineEdit>(Form(), id)->text(); }
    void Type(int id, const char* text) { Control<QLineEdit>(Form(), id)->setText(text); }

    QWidget& Form() { return *m_holder; }
    std::unique_ptr<QWidget> m_holder;
};

}  // namespace

TEST_F(FormFields, FieldsAreShownAndReadBackUnchanged)
{
    Record record;
    ASSERT_TRUE(Exchange(record, CFieldExchange::EDirection::ToControls));
    EXPECT_EQ(TextOf(10), "3");
    EXPECT_EQ(TextOf(12), "0x4000");
    EXPECT_EQ(TextOf(13), "0.5");
    EXPECT_EQ(Control<QComboBox>(Form(), 14)->currentText(), "1 - B");
    EXPECT_EQ(TextOf(15), "gate");
    EXPECT_TRUE(Control<QLineEdit>(Form(), 10)->isReadOnly());

    Record back;
    back.number = 0;
    back.flags = 0;
    back.light = 0;
    back.mode.clear();
    back.name.clear();
    ASSERT_TRUE(Exchange(back, CFieldExchange::EDirection::FromControls));
    EXPECT_EQ(back.number, 3);
    EXPECT_EQ(back.flags, 0x4000u);
    EXPECT_EQ(back.light, 0.5f);
    EXPECT_EQ(back.mode, "1 - B");
    EXPECT_EQ(back.name, "gate");
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(FormFields, ABadNumberStopsTheReadAtItsFieldWithItsMessage)
{
    struct Case {
        int id;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {10, "3x", "Please enter an integer."},
        {13, "bright", "Please enter a number."},
        {13, "", "Please enter a number."},
    };
    for (const Case& c : cases) {
        Record record;
        Exchange(record, CFieldExchange::EDirection::ToControls);
        Type(15, "renamed");
        Type(c.id, c.text);
        m_messages.clear();
        CFieldExchange ex(Form(), CFieldExchange::EDirection::FromControls);
        ex.Int(10, record.number);
        ex.Hex(12, record.flags);
        ex.Float(13, record.light);
        ex.Text(15, record.name);
        EXPECT_FALSE(ex.Ok()) << c.text;
        EXPECT_EQ(ex.FailedControl(), c.id) << c.text;
        EXPECT_EQ(m_messages, QStringList{c.message}) << c.text;
        EXPECT_EQ(record.name, "gate") << "fields after the bad one are not read";
    }
}

TEST_F(FormFields, AFlagWordWithNoNumberKeepsItsValueWithoutAMessage)
{
    // Each text typed over the value 0x4000: hexadecimal only when it holds an x anywhere.
    const struct {
        const char* text;
        std::uint32_t read;
    } cases[] = {
        {"none", 0x4000}, {"0x10", 16}, {"10", 10}, {"0x1f", 31},
        {"1F x", 31},     {"31", 31},   {"1f", 1},  {"", 0x4000},
    };
    for (const auto& c : cases) {
        Record record;
        Exchange(record, CFieldExchange::EDirection::ToControls);
        Type(12, c.text);
        EXPECT_TRUE(Exchange(record, CFieldExchange::EDirection::FromControls)) << c.text;
        EXPECT_EQ(record.flags, c.read) << c.text;
    }
    EXPECT_TRUE(m_messages.isEmpty());
    // 0 is shown with its prefix.
    Record zero;
    zero.flags = 0;
    Exchange(zero, CFieldExchange::EDirection::ToControls);
    EXPECT_EQ(TextOf(12), "0x0");
}

TEST_F(FormFields, EveryFocusLossApplies)
{
    Form().show();
    auto* name = Control<QLineEdit>(Form(), 15);
    auto* light = Control<QLineEdit>(Form(), 13);
    int applied = 0;
    OnFocusLeave(*name, [&] { ++applied; });
    for (int round = 0; round < 2; ++round) {  // the text stays the same: still applied each time
        name->setFocus();
        QApplication::processEvents();
        light->setFocus();
        QApplication::processEvents();
    }
    EXPECT_EQ(applied, 2);
}

TEST_F(FormFields, ARangeCheckStopsTheReadOutsideItsEndsOnly)
{
    // The light field checked against 0.1 to 500 right after its exchange, as a range-tested
    // field is; both ends are allowed.
    const struct {
        const char* text;
        bool ok;
        const char* message;
    } cases[] = {
        {"0.1", true, nullptr},
        {"500", true, nullptr},
        {"0.05", false, "Please enter a number between 0.1 and 500."},
        {"500.5", false, "Please enter a number between 0.1 and 500."},
        {"nan", false, "Please enter a number between 0.1 and 500."},
    };
    for (const auto& c : cases) {
        Record record;
        Exchange(record, CFieldExchange::EDirection::ToControls);
        Type(13, c.text);
        Type(15, "renamed");
        m_messages.clear();
        CFieldExchange ex(Form(), CFieldExchange::EDirection::FromControls);
        ex.Float(13, record.light);
        ex.FloatRange(13, record.light, 0.1, 500.0);
        ex.Text(15, record.name);
        EXPECT_EQ(ex.Ok(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_TRUE(m_messages.isEmpty()) << c.text;
            EXPECT_EQ(record.name, "renamed") << c.text;
        } else {
            EXPECT_EQ(ex.FailedControl(), 13) << c.text;
            EXPECT_EQ(m_messages, QStringList{c.message}) << c.text;
            EXPECT_EQ(record.name, "gate") << c.text;
        }
    }
    // Integers alike, with their own message; showing the fields checks nothing.
    int sides = 40;
    CFieldExchange show(Form(), CFieldExchange::EDirection::ToControls);
    show.IntRange(10, sides, 1, 20);
    EXPECT_TRUE(show.Ok());
    m_messages.clear();
    CFieldExchange read(Form(), CFieldExchange::EDirection::FromControls);
    read.IntRange(10, sides, 1, 20);
    EXPECT_FALSE(read.Ok());
    EXPECT_EQ(m_messages, QStringList{"Please enter an integer between 1 and 20."});
}
