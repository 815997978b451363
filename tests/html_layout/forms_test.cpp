// Forms and their controls: which control a tag makes, implicit forms, submission strings,
// radio groups, reset, keys, size rules, and the widgets made through a control host.
#include <gtest/gtest.h>

#include "html/layout/form_controls.h"
#include "html/layout/html_form.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "platform/core/test_canvas.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

using testing::Attr;
using testing::Attrs;
using testing::FakeControlHost;

struct Submitted {
    int calls = 0;
    std::string action;
    std::string method;
    std::vector<std::string> list;
};

class FormsTest : public ::testing::Test {
  protected:
    FormsTest() {
        section = std::make_unique<TSection>(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
        doc.OnFormSubmit = [this](TSectionList& sender, const std::string& action,
                                  const std::vector<std::string>& list, const std::string& method) {
            EXPECT_EQ(&sender, &doc);
            ++sent.calls;
            sent.action = action;
            sent.method = method;
            sent.list = list;
        };
    }

    TFormControlObj& Add(Symb tag, const TAttributeList& attrs) {
        return section->AddFormControl(tag, attrs, &doc, form);
    }
    TFormControlObj& Input(const char* type, std::initializer_list<TAttribute> more = {}) {
        TAttributeList attrs = Attrs(more);
        attrs.Add(Attr(Symb::TypeSy, type));
        return Add(Symb::InputSy, attrs);
    }

    TSectionList doc;
    std::unique_ptr<TSection> section;
    ThtmlForm* form = nullptr;
    Submitted sent;
};

TEST_F(FormsTest, TagsChooseTheirControls) {
    EXPECT_STREQ(Input("text").KindName(), "edit");
    EXPECT_STREQ(Input("PASSWORD").KindName(), "password");
    EXPECT_STREQ(Input("foo").KindName(), "edit");
    EXPECT_STREQ(Add(Symb::InputSy, Attrs({})).KindName(), "edit");
    EXPECT_STREQ(Input("submit").KindName(), "submit");
    EXPECT_STREQ(Input("reset").KindName(), "reset");
    EXPECT_STREQ(Input("radio").KindName(), "radio");
    EXPECT_STREQ(Input("checkbox").KindName(), "checkbox");
    EXPECT_STREQ(Input("hidden").KindName(), "hidden");
    EXPECT_STREQ(Add(Symb::SelectSy, Attrs({Attr(Symb::SizeSy, "1")})).KindName(), "combo");
    EXPECT_STREQ(Add(Symb::SelectSy, Attrs({Attr(Symb::SizeSy, "2")})).KindName(), "listbox");
    EXPECT_STREQ(Add(Symb::SelectSy, Attrs({Attr(Symb::MultipleSy)})).KindName(), "listbox");
    EXPECT_STREQ(Add(Symb::TextAreaSy, Attrs({})).KindName(), "textarea");
    // A TYPE longer than 20 characters is cut before it is compared.
    EXPECT_STREQ(Input("checkboxcheckboxcheckbox").KindName(), "edit");

    EXPECT_EQ(section->CharCount(), 14);
    EXPECT_EQ(section->InlineControls().size(), 14u);
    EXPECT_EQ(section->InlineControls()[3]->CharPos, 3);
    EXPECT_EQ(doc.AllControls().size(), 14u);
    EXPECT_EQ(section->Text(), std::u32string(14, kFormControlChar));
}

TEST_F(FormsTest, ImageInputAddsAnImageAndAControl) {
    auto& control = Input("image", {Attr(Symb::SrcSy, "go.gif"), Attr(Symb::NameSy, "go")});
    auto* image_control = dynamic_cast<TImageFormControlObj*>(&control);
    ASSERT_NE(image_control, nullptr);
    ASSERT_EQ(section->InlineImages().size(), 1u);
    EXPECT_EQ(image_control->MyImage, section->InlineImages()[0].get());
    EXPECT_EQ(section->InlineImages()[0]->MyFormControl, &control);
    EXPECT_EQ(section->Text(), U"\x04\x02");
    EXPECT_EQ(control.CharPos, 1);
}

TEST_F(FormsTest, ControlsOutsideAFormShareAnImplicitForm) {
    Input("text");
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->Implicit());
    Input("radio");
    EXPECT_EQ(doc.Forms().size(), 1u);
    EXPECT_EQ(form->FormControls().size(), 2u);
    EXPECT_EQ(form->Method(), "Get");
    EXPECT_EQ(form->Action(), "");

    form = &ThtmlForm::Create(
        doc, Attrs({Attr(Symb::MethodSy, "POSTED"), Attr(Symb::ActionSy, "/cgi-bin/q")}));
    EXPECT_FALSE(form->Implicit());
    EXPECT_EQ(form->Method(), "POST");
    EXPECT_EQ(form->Action(), "/cgi-bin/q");
    Input("text");
    EXPECT_EQ(doc.Forms().size(), 2u);
    EXPECT_EQ(form->FormControls().size(), 1u);
}

TEST_F(FormsTest, SubmissionCollectsEveryControl) {
    form = &ThtmlForm::Create(
        doc, Attrs({Attr(Symb::MethodSy, "post"), Attr(Symb::ActionSy, "go.cgi")}));
    Input("text", {Attr(Symb::NameSy, "q"), Attr(Symb::ValueSy, "x y")});
    Input("checkbox", {Attr(Symb::NameSy, "c1"), Attr(Symb::CheckedSy)});
    Input("checkbox", {Attr(Symb::NameSy, "c2")});
    Input("radio", {Attr(Symb::NameSy, "r"), Attr(Symb::ValueSy, "1")});
    Input("radio", {Attr(Symb::NameSy, "r"), Attr(Symb::ValueSy, "2"), Attr(Symb::CheckedSy)});
    auto& list = dynamic_cast<TSelectFormControlObj&>(
        Add(Symb::SelectSy, Attrs({Attr(Symb::NameSy, "l"), Attr(Symb::MultipleSy)})));
    list.AddStr("one", "", true);
    list.AddStr("two", "2", false);
    list.AddStr("three", "3", true);
    list.ResetToValue();
    auto& area = dynamic_cast<TTextAreaFormControlObj&>(
        Add(Symb::TextAreaSy, Attrs({Attr(Symb::NameSy, "t")})));
    area.AddStr("line 1");
    area.AddStr("line 2");
    area.ResetToValue();
    Input("hidden", {Attr(Symb::NameSy, "h"), Attr(Symb::ValueSy, "secret")});
    auto& submit = dynamic_cast<TButtonFormControlObj&>(
        Input("submit", {Attr(Symb::NameSy, "b"), Attr(Symb::ValueSy, "Go")}));
    EXPECT_EQ(submit.Caption(), "Go");

    submit.Click();
    ASSERT_EQ(sent.calls, 1);
    EXPECT_EQ(sent.action, "go.cgi");
    EXPECT_EQ(sent.method, "post");
    EXPECT_EQ(sent.list, (std::vector<std::string>{"q=x y", "c1=On", "r=2", "l=one", "l=3",
                                                   "t=line 1", "t=line 2", "h=secret", "b=Go"}));
}

TEST_F(FormsTest, UnnamedButtonsAddNothingAndReset) {
    auto& edit = dynamic_cast<TEditFormControlObj&>(Input("text", {Attr(Symb::ValueSy, "v")}));
    auto& submit = dynamic_cast<TButtonFormControlObj&>(Input("submit"));
    auto& reset = dynamic_cast<TButtonFormControlObj&>(Input("reset"));
    EXPECT_EQ(submit.Caption(), "Submit");
    EXPECT_EQ(reset.Caption(), "Reset");
    edit.SetText("changed");
    submit.Click();
    EXPECT_EQ(sent.list, (std::vector<std::string>{"=changed"}));
    reset.Click();
    EXPECT_EQ(edit.Text(), "v");
    EXPECT_EQ(sent.calls, 1);
}

TEST_F(FormsTest, NothingIsSentWithoutACallback) {
    doc.OnFormSubmit = nullptr;
    auto& submit = dynamic_cast<TButtonFormControlObj&>(Input("submit"));
    submit.Click();  // must not fail
    EXPECT_EQ(sent.calls, 0);
}

TEST_F(FormsTest, RadioButtonsOfOneNameExcludeEachOther) {
    auto& a = dynamic_cast<TRadioButtonFormControlObj&>(
        Input("radio", {Attr(Symb::NameSy, "Size"), Attr(Symb::CheckedSy)}));
    auto& b =
        dynamic_cast<TRadioButtonFormControlObj&>(Input("radio", {Attr(Symb::NameSy, "SIZE")}));
    auto& other = dynamic_cast<TRadioButtonFormControlObj&>(
        Input("radio", {Attr(Symb::NameSy, "colour"), Attr(Symb::CheckedSy)}));
    EXPECT_TRUE(a.BaseLine);
    b.Click();
    EXPECT_FALSE(a.Checked());
    EXPECT_TRUE(b.Checked());
    EXPECT_TRUE(other.Checked());
    form->ResetControls();
    EXPECT_TRUE(a.Checked());
    EXPECT_FALSE(b.Checked());
}

TEST_F(FormsTest, ImageSubmissionIsSentOnce) {
    auto& named = dynamic_cast<TImageFormControlObj&>(Input("image", {Attr(Symb::NameSy, "map")}));
    std::string s;
    EXPECT_FALSE(named.GetSubmission(0, s));  // no click yet
    named.ImageClick(12, 34);
    EXPECT_EQ(sent.list, (std::vector<std::string>{"map.x=12", "map.y=34"}));
    EXPECT_FALSE(named.GetSubmission(0, s));
    EXPECT_FALSE(named.GetSubmission(1, s));

    auto& unnamed = dynamic_cast<TImageFormControlObj&>(Input("image"));
    unnamed.SetClickPosition(1, 2);
    ASSERT_TRUE(unnamed.GetSubmission(0, s));
    EXPECT_EQ(s, "x=1");
    ASSERT_TRUE(unnamed.GetSubmission(1, s));
    EXPECT_EQ(s, "y=2");
    EXPECT_FALSE(unnamed.GetSubmission(1, s));
}

TEST_F(FormsTest, SelectOptionsAndDropDowns) {
    auto& combo =
        dynamic_cast<TSelectFormControlObj&>(Add(Symb::SelectSy, Attrs({Attr(Symb::NameSy, "c")})));
    combo.AddStr("one", "", false);
    combo.AddStr("two", "2", true);
    combo.ResetToValue();
    EXPECT_EQ(combo.Options().size(), 2u);
    EXPECT_FALSE(combo.Selected(0));
    EXPECT_TRUE(combo.Selected(1));
    std::string s;
    ASSERT_TRUE(combo.GetSubmission(0, s));
    EXPECT_EQ(s, "c=2");
    EXPECT_FALSE(combo.GetSubmission(1, s));
    combo.SetSelected(0, true);  // one selection only
    EXPECT_FALSE(combo.Selected(1));

    // Without SELECTED a drop-down shows its first option; a list box shows none.
    auto& first = dynamic_cast<TSelectFormControlObj&>(Add(Symb::SelectSy, Attrs({})));
    first.AddStr("a", "", false);
    first.AddStr("b", "", false);
    first.ResetToValue();
    EXPECT_TRUE(first.Selected(0));
    auto& list =
        dynamic_cast<TSelectFormControlObj&>(Add(Symb::SelectSy, Attrs({Attr(Symb::SizeSy, "4")})));
    list.AddStr("a", "", false);
    list.ResetToValue();
    EXPECT_FALSE(list.GetSubmission(0, s));
    EXPECT_FALSE(list.Selected(7));
}

TEST_F(FormsTest, EnterSubmitsOnlyASingleControlForm) {
    auto& edit = dynamic_cast<TEditFormControlObj&>(Input("text", {Attr(Symb::NameSy, "q")}));
    Input("hidden", {Attr(Symb::NameSy, "h")});
    EXPECT_EQ(form->NonHiddenCount(), 1);
    EXPECT_TRUE(edit.KeyPressed(ControlKey::Enter));
    EXPECT_EQ(sent.calls, 1);
    Input("text");
    EXPECT_FALSE(edit.KeyPressed(ControlKey::Enter));
    EXPECT_EQ(sent.calls, 1);

    std::vector<ControlKey> keys;
    doc.OnControlKey = [&](TSectionList&, ControlKey k) { keys.push_back(k); };
    EXPECT_TRUE(edit.KeyPressed(ControlKey::PageDown));
    EXPECT_TRUE(edit.KeyPressed(ControlKey::Home));
    EXPECT_EQ(keys, (std::vector<ControlKey>{ControlKey::PageDown, ControlKey::Home}));
}

TEST_F(FormsTest, HeadlessSizeRules) {
    TestCanvas canvas(10, 10);  // "A" is 8 x 16
    auto& edit = Input("text", {Attr(Symb::SizeSy, "10")});
    auto& plain_edit = Input("text");
    auto& submit = Input("submit");
    auto& check = Input("checkbox");
    auto& radio = Input("radio");
    auto& list =
        dynamic_cast<TSelectFormControlObj&>(Add(Symb::SelectSy, Attrs({Attr(Symb::MultipleSy)})));
    for (const char* o : {"a", "bbbb", "cc"}) list.AddStr(o, "", false);
    auto& combo = dynamic_cast<TSelectFormControlObj&>(Add(Symb::SelectSy, Attrs({})));
    combo.AddStr("\xC3\xA4\xC3\xB6", "", false);  // two characters
    auto& area = Add(Symb::TextAreaSy, Attrs({Attr(Symb::RowsSy, "2"), Attr(Symb::ColsSy, "0")}));
    auto& hidden = Input("hidden");
    int width = 0, cursor = 0;
    doc.DoLogic(canvas, 0, 500, width, cursor);  // sizes every control

    EXPECT_EQ(edit.Width(), 85);
    EXPECT_EQ(plain_edit.Width(), 165);
    EXPECT_EQ(edit.Height(), 24);
    EXPECT_EQ(submit.Width(), 6 * 8 + 20);
    EXPECT_EQ(submit.Height(), 24);
    EXPECT_EQ(check.Width(), 13);
    EXPECT_EQ(check.Height(), 13);
    EXPECT_EQ(radio.Height(), 14);
    EXPECT_EQ(list.Width(), 4 * 8 + 15);
    EXPECT_EQ(list.Height(), 3 * 16);  // no SIZE: the option count
    EXPECT_EQ(combo.Width(), 2 * 8 + 30);
    EXPECT_EQ(area.Width(), 30 * 8 + 5);  // COLS=0 keeps the default
    EXPECT_EQ(area.Height(), 2 * 16 + 5);
    EXPECT_EQ(hidden.Width(), 0);
}

TEST_F(FormsTest, ListBoxRowsAreClamped) {
    auto& many =
        dynamic_cast<TListBoxFormControlObj&>(Add(Symb::SelectSy, Attrs({Attr(Symb::MultipleSy)})));
    for (int i = 0; i < 12; ++i) many.AddStr("x", "", false);
    EXPECT_EQ(many.Rows(), 8);
    auto& none =
        dynamic_cast<TListBoxFormControlObj&>(Add(Symb::SelectSy, Attrs({Attr(Symb::MultipleSy)})));
    EXPECT_EQ(none.Rows(), 1);
    auto& sized = dynamic_cast<TListBoxFormControlObj&>(
        Add(Symb::SelectSy, Attrs({Attr(Symb::SizeSy, "12")})));
    EXPECT_EQ(sized.Rows(), 12);
}

TEST(FormWidgets, ControlsMirrorTheirWidgets) {
    FakeControlHost host;
    TSectionList doc;
    doc.SetControlHost(&host);
    TSection section(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
    ThtmlForm* form = nullptr;
    auto input = [&](const char* type, std::initializer_list<TAttribute> more) -> TFormControlObj& {
        TAttributeList attrs = Attrs(more);
        attrs.Add(Attr(Symb::TypeSy, type));
        return section.AddFormControl(Symb::InputSy, attrs, &doc, form);
    };
    std::vector<std::string> sent;
    doc.OnFormSubmit = [&](TSectionList&, const std::string&, const std::vector<std::string>& l,
                           const std::string&) { sent = l; };

    auto& edit = input("password", {Attr(Symb::NameSy, "pw"), Attr(Symb::ValueSy, "init"),
                                    Attr(Symb::MaxLengthSy, "8")});
    input("checkbox", {Attr(Symb::NameSy, "c")});
    input("radio", {Attr(Symb::NameSy, "r"), Attr(Symb::ValueSy, "a"), Attr(Symb::CheckedSy)});
    input("radio", {Attr(Symb::NameSy, "r"), Attr(Symb::ValueSy, "b")});
    auto& list = dynamic_cast<TSelectFormControlObj&>(section.AddFormControl(
        Symb::SelectSy, Attrs({Attr(Symb::NameSy, "l"), Attr(Symb::MultipleSy)}), &doc, form));
    list.AddStr("x", "", false);
    list.AddStr("y", "", true);
    list.ResetToValue();
    input("submit", {});

    ASSERT_EQ(host.edits.size(), 1u);
    testing::FakeEdit& w = *host.edits[0];
    EXPECT_TRUE(w.desc.password);
    EXPECT_EQ(w.desc.max_length, 8);
    EXPECT_EQ(w.text, "init");
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(w.pos.y, -400);
    EXPECT_EQ(w.font.name, doc.FixedFontName());
    EXPECT_EQ(w.font.size_pt, 10);
    EXPECT_EQ(edit.Control(), &w);
    ASSERT_EQ(host.lists.size(), 1u);
    EXPECT_EQ(host.lists[0]->items, (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(host.lists[0]->multi);

    // What the user does in the widgets is what is submitted.
    w.text = "typed";
    host.checks[0]->UserClick(false);
    host.radios[1]->UserClick(true);
    host.lists[0]->SetSelected(0, true);
    host.buttons[0]->on_click();
    EXPECT_FALSE(host.radios[0]->checked);
    EXPECT_EQ(sent, (std::vector<std::string>{"pw=typed", "c=On", "r=b", "l=x", "l=y"}));

    // Enter with several controls in the form does not submit; scrolling keys go to the viewer.
    int keys = 0;
    doc.OnControlKey = [&](TSectionList&, ControlKey) { ++keys; };
    EXPECT_FALSE(w.on_key(ControlKey::Enter));
    EXPECT_TRUE(w.on_key(ControlKey::End));
    EXPECT_EQ(keys, 1);

    // Sizes are the widgets' own: client sizes plus their frame.
    TestCanvas canvas(10, 10);
    int width = 0, cursor = 0;
    doc.DoLogic(canvas, 0, 300, width, cursor);
    EXPECT_EQ(edit.Width(), 165);
    EXPECT_EQ(edit.Height(), 21);  // natural height of the widget
    EXPECT_EQ(list.Width(), 8 + 15 + 4);
    EXPECT_EQ(list.Height(), 2 * 16 + 4);

    // Showing for a paint, hiding after a scroll for those not painted again.
    edit.Show(10, 20);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.pos, (Point{10, 20}));
    list.Show(0, 0);
    doc.SetYOffset(50);
    EXPECT_FALSE(edit.ShownThisPaint);
    edit.Show(10, -30);
    doc.Draw(canvas, Rect{0, 0, 300, 300}, 300, 0, 0);
    EXPECT_TRUE(w.visible);
    EXPECT_FALSE(host.lists[0]->visible);
}

TEST(FormWidgets, DropDownsTextAreasAndResetButtons) {
    FakeControlHost host;
    TSectionList doc;
    doc.SetControlHost(&host);
    TSection section(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
    ThtmlForm* form = nullptr;
    auto& combo = dynamic_cast<TSelectFormControlObj&>(
        section.AddFormControl(Symb::SelectSy, Attrs({Attr(Symb::NameSy, "c")}), &doc, form));
    combo.AddStr("red", "r", false);
    combo.AddStr("green", "g", true);
    combo.ResetToValue();
    auto& area = dynamic_cast<TTextAreaFormControlObj&>(section.AddFormControl(
        Symb::TextAreaSy, Attrs({Attr(Symb::NameSy, "t"), Attr(Symb::RowsSy, "3")}), &doc, form));
    area.AddStr("one");
    area.AddStr("two");
    area.ResetToValue();
    auto& reset = dynamic_cast<TButtonFormControlObj&>(section.AddFormControl(
        Symb::InputSy, Attrs({Attr(Symb::TypeSy, "reset"), Attr(Symb::ValueSy, "Undo")}), &doc,
        form));

    ASSERT_EQ(host.combos.size(), 1u);
    testing::FakeList& list = *host.combos[0];
    EXPECT_EQ(list.items, (std::vector<std::string>{"red", "green"}));
    EXPECT_EQ(list.selected, (std::vector<bool>{false, true}));
    ASSERT_EQ(host.edits.size(), 1u);
    testing::FakeEdit& edit = *host.edits[0];
    EXPECT_TRUE(edit.desc.multi_line);
    EXPECT_EQ(edit.text, "one\ntwo");
    ASSERT_EQ(host.buttons.size(), 1u);
    EXPECT_EQ(host.buttons[0]->caption, "Undo");

    list.SetSelected(0, true);
    edit.text = "changed\r\nlines\n";
    std::string s;
    ASSERT_TRUE(combo.GetSubmission(0, s));
    EXPECT_EQ(s, "c=r");
    ASSERT_TRUE(area.GetSubmission(1, s));
    EXPECT_EQ(s, "t=lines");
    EXPECT_FALSE(area.GetSubmission(2, s));

    host.buttons[0]->on_click();
    EXPECT_EQ(list.selected, (std::vector<bool>{false, true}));
    EXPECT_EQ(edit.text, "one\ntwo");
    EXPECT_EQ(reset.Caption(), "Undo");

    TestCanvas canvas(10, 10);
    int width = 0, cursor = 0;
    doc.DoLogic(canvas, 0, 300, width, cursor);
    EXPECT_EQ(combo.Width(), 5 * 8 + 30 + 4);
    EXPECT_EQ(combo.Height(), 21);
    EXPECT_EQ(area.Width(), 30 * 8 + 5 + 4);
    EXPECT_EQ(area.Height(), 3 * 16 + 5 + 4);
    EXPECT_EQ(reset.Width(), 4 * 8 + 20);
    EXPECT_EQ(reset.Height(), 16 + 8);
}

TEST(FormWidgets, ClearFreesControlsBeforeSections) {
    FakeControlHost host;
    TSectionList doc;
    doc.SetControlHost(&host);
    auto section = std::make_unique<TSection>(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
    ThtmlForm* form = nullptr;
    section->AddFormControl(Symb::TextAreaSy, Attrs({}), &doc, form);
    doc.Add(std::move(section));
    doc.Clear();
    EXPECT_TRUE(doc.AllControls().empty());
    EXPECT_TRUE(doc.Forms().empty());
    EXPECT_EQ(doc.Count(), 0);
}

}  // namespace
}  // namespace quillon
