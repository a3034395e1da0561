#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextLayout>
#include <QTimer>

#include "form1_fixture.h"
#include "lang/message_table.h"
#include "ui/controls.h"
#include "ui/time_edit.h"

namespace quillo::ui {
namespace {

using lang::MessageText;

class Language : public Form1Test {
protected:
    // The caption table: each control with the message it shows.
    std::vector<std::pair<QString, int>> Captions() const {
        const Form1& f = *form_;
        const auto tab = [&](QWidget* page) {
            return f.PageControl->tabText(f.PageControl->indexOf(page));
        };
        return {
            {f.Label_Choose_device->text(), 0},
            {f.Label_Choose_device_mode->text(), 10},
            {f.Label_Choose_type_of_connection->text(), 20},
            {f.RadioButton_master->text(), 30},
            {f.RadioButton_slave->text(), 40},
            {f.RadioButton_without_router->text(), 50},
            {f.RadioButton_with_router->text(), 60},
            {f.Button_Get_current_parameters->text(), 70},
            {f.Button_Restore_default_parameters->text(), 80},
            {tab(f.Wi_Fi), 90},
            {tab(f.Fan), 100},
            {tab(f.Filter), 110},
            {f.Button_Search_Wi_Fi->text(), 120},
            {f.Label_Wi_Fi_name->text(), 130},
            {f.Label_type_security->text(), 140},
            {f.Label_Wi_Fi_channel->text(), 210},
            {f.Label_IP_Master->text(), 220},
            {f.Label_IP_Slave->text(), 230},
            {f.Label_Number_Slave->text(), 240},
            {f.Button_Apply_Save_Wi_Fi->text(), 310},
            {f.Button_Apply_Save_Fan->text(), 310},
            {f.CheckBox_Available_OFF_device->text(), 320},
            {f.Label_Direction->text(), 330},
            {f.RadioButton_Supply->text(), 340},
            {f.RadioButton_Exhaust->text(), 350},
            {f.Button_Reset_filter_timer->text(), 410},
            {f.Label_S_N->text(), 420},
            {f.Label_Language->text(), 430},
            {tab(f.Information), 440},
            {f.Label_Turn_off_timer->text(), 450},
            {f.Label_Timer_night_mode->text(), 460},
            {f.Label_Timer_party_mode->text(), 470},
            {f.CheckBox_Humidity_sensor->text(), 480},
            {f.CheckBox_External_sensor1->text(), 490},
            {f.CheckBox_External_sensor2->text(), 500},
            {f.Label_Create_By->text(), 520},
            {f.Label_User_Manual->text(), 530},
            {f.RadioButton_Supply_Exhaust_Bix->text(), 600},
            {f.RadioButton_Exhaust_Bix->text(), 610},
            {f.Label_Direction_Bix->text(), 620},
            {f.Label_Gateway->text(), 630},
        };
    }

    void SetLanguage(int index) {
        lang::LanguageIndex = static_cast<std::uint8_t>(index);
        form_->ApplyLanguage();
    }

    QString FilterLine() const {
        return MessageText(370) + "00" + MessageText(380) + "00" + MessageText(390) + "00" +
               MessageText(400) + "00";
    }
};

TEST_F(Language, EveryCaptionComesFromItsMessageInEachLanguage) {
    for (int index = 0; index < 10; ++index) {
        SetLanguage(index);
        for (const auto& [shown, id] : Captions()) {
            EXPECT_EQ(shown, MessageText(id)) << "language " << index << " message " << id;
        }
        EXPECT_EQ(form_->Label_Timer_filter->text(), FilterLine()) << index;
        EXPECT_EQ(form_->Label_Versio_of_program->text(), MessageText(510)) << index;
    }
}

// True when a wrapping caption is drawn with a line that ends inside a word: anywhere but after
// a blank or after the hyphen of a compound ("Wi-Fi-" / "verkkoja"), never inside the name
// "Wi-Fi" ("Wi-" / "Fi"). Laid out as its button draws it.
bool BreaksInsideAWord(const WrappingButton* button) {
    const QString text = button->text();
    QTextLayout layout(text, button->font());
    QTextOption option(Qt::AlignCenter);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    bool inside = false;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(button->captionArea().width());
        const int end = line.textStart() + line.textLength();
        const bool afterHyphen = end > 0 && text.at(end - 1) == u'-' &&
                                 !text.mid(0, end).endsWith(QStringLiteral("Wi-"));
        inside = inside || (end < text.size() && !text.at(end - 1).isSpace() && !afterHyphen);
    }
    layout.endLayout();
    return inside;
}

// Every caption in every language, in every text its control can show, fits its place at the
// design font: none is shrunk (the fitting would stop at 8 px), none is cut, and none that
// wraps breaks inside a word.
TEST_F(Language, EveryCaptionFitsItsPlaceAtTheDesignFontInEveryLanguage) {
    std::vector<QWidget*> captioned;
    for (QWidget* widget : form_->findChildren<QWidget*>()) {
        if (FitOfCaption(widget) && widget != form_->Label_User_Manual) {  // never shown
            captioned.push_back(widget);
        }
    }
    ASSERT_GE(captioned.size(), 45U);
    QStringList misfits;
    const auto check = [&](int language, const QString& state) {
        for (const QWidget* widget : captioned) {
            const CaptionFit fit = *FitOfCaption(widget);
            if (!fit.fits || fit.pixelSize != widget->font().pixelSize()) {
                misfits << QStringLiteral("language %1, %2%3: drawn at %4 px%5 (needs %6 of %7)")
                               .arg(language)
                               .arg(widget->objectName(), state)
                               .arg(fit.pixelSize)
                               .arg(fit.fits ? "" : ", cut")
                               .arg(fit.needed)
                               .arg(fit.available);
            }
            const auto* wrapping = qobject_cast<const WrappingButton*>(widget);
            if (wrapping != nullptr && BreaksInsideAWord(wrapping)) {
                misfits << QStringLiteral("language %1, %2%3: \"%4\" breaks inside a word")
                               .arg(language)
                               .arg(widget->objectName(), state, wrapping->text());
            }
        }
    };
    for (int language = 0; language < 10; ++language) {
        SetLanguage(language);
        check(language, "");
        // The other password caption, the connected states and the longest filter line.
        form_->RadioButton_with_router->setChecked(true);
        form_->Panel_Wi_Fi_State_connection->setCaption(MessageText(270));
        form_->Panel_Master_State_connection->setCaption(MessageText(290));
        form_->Label_Timer_filter->setText(MessageText(370) + "364" + MessageText(380) + "23" +
                                           MessageText(390) + "59" + MessageText(400) + "59");
        check(language, " (second state)");
        form_->RadioButton_without_router->setChecked(true);
    }
    EXPECT_TRUE(misfits.isEmpty()) << misfits.join('\n').toStdString();
}

TEST_F(Language, EnglishCaptionsReadAsDesigned) {
    SetLanguage(1);
    EXPECT_EQ(form_->Button_Apply_Save_Fan->text(), "Apply/Save");
    EXPECT_EQ(form_->ComboBox_Choose_device->currentText(), "   No devices");
    EXPECT_EQ(form_->Label_Timer_filter->text(),
              "Days: 00    Hours: 00    Minutes: 00    Seconds: 00");
    EXPECT_EQ(form_->Label_Password->text(), "New Wi-Fi password (8 - 60 characters)");
    EXPECT_EQ(form_->Label_Humidity_sensor->text(), "70 %RH");
    form_->VersionText = "1.1.2";
    form_->ApplyLanguage();
    EXPECT_EQ(form_->Label_Versio_of_program->text(), "Version: 1.1.2");
}

// Texts the catalogue fixes word for word.
TEST_F(Language, CaptionsInOtherLanguagesReadAsTheCatalogueGivesThem) {
    SetLanguage(0);
    EXPECT_EQ(form_->Label_Choose_device->text(), QString::fromUtf8("Выберите устройство"));
    EXPECT_EQ(form_->ComboBox_Choose_device->currentText(), QString::fromUtf8("   Нет устройств"));
    SetLanguage(2);
    EXPECT_EQ(form_->Label_Choose_device->text(), QString::fromUtf8("选择设备"));
    SetLanguage(4);
    EXPECT_EQ(form_->Label_Choose_device->text(), QString::fromUtf8("Gerät wählen"));
    EXPECT_EQ(form_->Label_Humidity_sensor->text(), "70 %RF");
    EXPECT_EQ(form_->ComboBox_Choose_device->currentText(), QString::fromUtf8("   Keine Geräte"));
}

TEST_F(Language, PasswordCaptionFollowsModeAndConnection) {
    form_->RadioButton_slave->setChecked(true);
    SetLanguage(4);
    EXPECT_EQ(form_->Label_Password->text(), MessageText(200));
    form_->RadioButton_master->setChecked(true);
    SetLanguage(0);
    EXPECT_EQ(form_->Label_Password->text(), MessageText(190));
    form_->RadioButton_with_router->setChecked(true);
    SetLanguage(2);
    EXPECT_EQ(form_->Label_Password->text(), MessageText(200));
}

TEST_F(Language, HumidityCaptionTakesTheNewUnit) {
    form_->TrackBar_Humidity_sensor->setValue(12);
    SetLanguage(4);
    EXPECT_EQ(form_->Label_Humidity_sensor->text(), "60 %RF");
    // The 0-10 V caption is the same in every language and is left alone.
    EXPECT_EQ(form_->Label_External_sensor2->text(), "50 %");
}

TEST_F(Language, StatePanelsAndSelectorChangeOnlyWithoutADevice) {
    SetLanguage(0);
    EXPECT_EQ(form_->Panel_Wi_Fi_State_connection->caption(), MessageText(280));
    EXPECT_EQ(form_->Panel_Master_State_connection->caption(), MessageText(300));
    EXPECT_EQ(form_->ComboBox_Choose_device->currentText(), MessageText(540));

    // A unit is chosen: its entry and the panels' texts stay until the unit answers.
    form_->ComboBox_Choose_device->addItem("1. Aldrun Quillo Solvi");
    form_->ComboBox_Choose_device->setCurrentIndex(0);
    form_->Panel_Wi_Fi_State_connection->setCaption("from the unit");
    alignas(8) char unit[8] = {};
    form_->CurrentDevice = reinterpret_cast<hid::HidDevice*>(unit);
    SetLanguage(1);
    EXPECT_EQ(form_->ComboBox_Choose_device->currentText(), "1. Aldrun Quillo Solvi");
    EXPECT_EQ(form_->Panel_Wi_Fi_State_connection->caption(), "from the unit");
    form_->CurrentDevice = nullptr;
    EXPECT_EQ(form_->Panel_Wi_Fi_State_connection->color(), ColorRed);
}

TEST_F(Language, UsersPickIsStoredThenApplied) {
    QComboBox* selector = form_->ComboBox_Language;
    selector->setFocus();
    QTest::keyClicks(selector, "D");  // DEU, the first item starting with D
    EXPECT_EQ(selector->currentText(), "DEU");
    EXPECT_EQ(lang::LanguageIndex, 4);
    EXPECT_EQ(form_->Label_Humidity_sensor->text(), "70 %RF");
    EXPECT_EQ(form_->Label_Choose_device->text(), MessageText(0));
    QSettings store(QStringLiteral("Aldrun Quillo"), QStringLiteral("User Program"));
    EXPECT_EQ(store.value(QStringLiteral("Number of language")).toInt(), 4);
}

TEST_F(Language, StoreFailureShowsTheErrorAndKeepsTheLanguage) {
    // A plain file where the store's folder belongs makes every write fail.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QDir(config).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(config));
    QFile blocker(config + "/Aldrun Quillo");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QString boxText;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxText = box->text();
            box->accept();
        }
    });
    const QString before = form_->Label_Choose_device->text();
    form_->ComboBox_Language->setCurrentIndex(0);
    form_->ComboBox_LanguageChange();
    EXPECT_EQ(boxText, "Failed to set data for 'Number of language'");
    EXPECT_EQ(lang::LanguageIndex, 1);
    EXPECT_EQ(form_->Label_Choose_device->text(), before);
    EXPECT_EQ(form_->ComboBox_Language->currentIndex(), 0);
    QFile::remove(config + "/Aldrun Quillo");
}

TEST_F(Language, FormCreatePreparesTheWindowInTheStartupLanguage) {
    ASSERT_EQ(form_->FormCreate(), Form1::StartUp::Run);
    EXPECT_EQ(form_->ComboBox_Language->currentIndex(), lang::LanguageIndex);
    EXPECT_EQ(form_->TimeEdit_Timer_party_mode->text(), "00:00");
    EXPECT_FALSE(form_->VersionText.isEmpty());
    EXPECT_EQ(form_->Label_Versio_of_program->text(), MessageText(510) + form_->VersionText);
    EXPECT_EQ(form_->Label_Choose_device->text(), MessageText(0));
    // This process now counts as the running copy.
    Form1 second;
    EXPECT_EQ(second.FormCreate(), Form1::StartUp::End);
}

}  // namespace
}  // namespace quillo::ui
