#include "forms.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const UINT kFail = WM_APP + 1;
const UINT kCount = WM_APP + 2;

class ThrowingForm : public TForm {
public:
    ThrowingForm() : TForm("TThrowingForm", nullptr) {}
    int counted = 0;
    void Dispatch(TMessage& message) override {
        if (message.Msg == kFail)
            throw EConvertError("'12pt' is not a valid integer value");
        if (message.Msg == kCount) {
            ++counted;
            return;
        }
        TForm::Dispatch(message);
    }
};

TEST(MessageLoop, ShowsAnEscapedErrorAndGoesOn) {
    Application.Title = "Loop Test";
    TFormPtr<ThrowingForm> form(new ThrowingForm);
    form->Show();
    ui::MessageBoxInfo seen;
    std::thread watcher([&] { seen = ui::AnswerMessageBox(GetCurrentProcessId(), 5000); });
    PostMessageA(form->Handle(), kFail, 0, 0);
    PostMessageA(form->Handle(), kCount, 0, 0);
    ui::Pump(300);
    watcher.join();
    ui::Pump(200);
    EXPECT_EQ(seen.Caption, "Loop Test");
    EXPECT_EQ(seen.Text, "'12pt' is not a valid integer value.");
    EXPECT_EQ(seen.Kind, ui::Icon::Stop);
    EXPECT_EQ(seen.Buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(form->counted, 1) << "the loop goes on after the error box";
}

TEST(MessageLoop, ShowMessageHasNoIconAndTheTitle) {
    Application.Title = "Plain Box";
    ui::MessageBoxInfo seen;
    std::thread watcher([&] { seen = ui::AnswerMessageBox(GetCurrentProcessId(), 5000); });
    ShowMessage("Just so you know.");
    watcher.join();
    EXPECT_EQ(seen.Caption, "Plain Box");
    EXPECT_EQ(seen.Text, "Just so you know.");
    EXPECT_EQ(seen.Kind, ui::Icon::None);
}

} // namespace
