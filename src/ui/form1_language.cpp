// Captions in the current language, and the language selector.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "lang/language.h"
#include "lang/message_table.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/message_box.h"

namespace quillo::ui {

using lang::MessageText;

// Changes the captions through the control pointers; const would misstate that.
// NOLINTNEXTLINE(readability-make-member-function-const)
void Form1::ApplyLanguage() {
    Label_Choose_device->setText(MessageText(0));
    Label_Choose_device_mode->setText(MessageText(10));
    Label_Choose_type_of_connection->setText(MessageText(20));
    RadioButton_master->setText(MessageText(30));
    RadioButton_slave->setText(MessageText(40));
    RadioButton_without_router->setText(MessageText(50));
    RadioButton_with_router->setText(MessageText(60));
    Button_Get_current_parameters->setText(MessageText(70));
    Button_Restore_default_parameters->setText(MessageText(80));
    PageControl->setTabText(PageControl->indexOf(Wi_Fi), MessageText(90));
    PageControl->setTabText(PageControl->indexOf(Fan), MessageText(100));
    PageControl->setTabText(PageControl->indexOf(Filter), MessageText(110));
    Button_Search_Wi_Fi->setText(MessageText(120));
    Label_Wi_Fi_name->setText(MessageText(130));
    Label_type_security->setText(MessageText(140));
    // The same rule the mode and connection handlers follow.
    const bool masterWithoutRouter =
        RadioButton_master->isChecked() && RadioButton_without_router->isChecked();
    Label_Password->setText(MessageText(masterWithoutRouter ? 190 : 200));
    Label_Wi_Fi_channel->setText(MessageText(210));
    Label_IP_Master->setText(MessageText(220));
    Label_IP_Slave->setText(MessageText(230));
    Label_Number_Slave->setText(MessageText(240));
    // With a unit chosen, its next status reply rewrites the panels in the new language.
    if (CurrentDevice == nullptr) {
        Panel_Wi_Fi_State_connection->setCaption(MessageText(280));
        Panel_Master_State_connection->setCaption(MessageText(300));
    }
    Button_Apply_Save_Wi_Fi->setText(MessageText(310));
    Button_Apply_Save_Fan->setText(MessageText(310));
    CheckBox_Available_OFF_device->setText(MessageText(320));
    Label_Direction->setText(MessageText(330));
    RadioButton_Supply->setText(MessageText(340));
    RadioButton_Exhaust->setText(MessageText(350));
    Label_Humidity_sensor->setText(QString::number(TrackBar_Humidity_sensor->value() * 5) +
                                   MessageText(360));
    Label_Timer_filter->setText(MessageText(370) + QStringLiteral("00") + MessageText(380) +
                                QStringLiteral("00") + MessageText(390) + QStringLiteral("00") +
                                MessageText(400) + QStringLiteral("00"));
    Button_Reset_filter_timer->setText(MessageText(410));
    Label_S_N->setText(MessageText(420));
    Label_Language->setText(MessageText(430));
    PageControl->setTabText(PageControl->indexOf(Information), MessageText(440));
    Label_Turn_off_timer->setText(MessageText(450));
    Label_Timer_night_mode->setText(MessageText(460));
    Label_Timer_party_mode->setText(MessageText(470));
    CheckBox_Humidity_sensor->setText(MessageText(480));
    CheckBox_External_sensor1->setText(MessageText(490));
    CheckBox_External_sensor2->setText(MessageText(500));
    Label_Versio_of_program->setText(MessageText(510) + VersionText);
    Label_Create_By->setText(MessageText(520));
    Label_User_Manual->setText(MessageText(530));
    // A chosen device's entry stays as it is.
    if (ComboBox_Choose_device->currentIndex() == -1) {
        ComboBox_Choose_device->setEditText(MessageText(540));
    }
    RadioButton_Supply_Exhaust_Bix->setText(MessageText(600));
    RadioButton_Exhaust_Bix->setText(MessageText(610));
    Label_Direction_Bix->setText(MessageText(620));
    Label_Gateway->setText(MessageText(630));
    ApplyAccessibleTexts();
}

void Form1::ComboBox_LanguageChange() {
    const int index = ComboBox_Language->currentIndex();
    // Stored first: a choice that cannot be kept changes nothing on screen.
    QString error;
    if (!lang::StoreLanguageChoice(index, error)) {
        ShowError(this, error);
        return;
    }
    lang::LanguageIndex = static_cast<std::uint8_t>(index);
    ApplyLanguage();
}

}  // namespace quillo::ui
