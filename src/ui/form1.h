#pragma once

// The program's one window. Its controls are public members named like their objectName, so
// the handlers of every concern (and the tests) reach them directly. The handlers are grouped
// by concern in separate files:
//   form1_layout.cpp    the controls, built from the design tables, and their event bindings
//   form1_panels.cpp    mode and connection panels, slider captions
//   form1_language.cpp  caption refresh and the language selector
//   form1_create.cpp    start-up: language, single instance, version
//   form1_devices.cpp   device list and selection
//   form1_dispatch.cpp  the unit's answers and the status poll
//   form1_writes.cpp    the command buttons
//   form1_scan.cpp      the Wi-Fi network scan
//   form1_commands.cpp  sending commands and sequences to the current unit

#include <QString>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "protocol/command_code.h"
#include "protocol/device_settings.h"
#include "protocol/integer_text.h"
#include "protocol/payload.h"
#include "protocol/send_command.h"
#include "protocol/sequence.h"
#include "protocol/write_generations.h"
#include "unit_model/page_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace quillo::hid {
class HidDevice;
class HidDeviceController;
struct HidPnPInfo;
namespace platform {
class Backend;
}
}  // namespace quillo::hid

namespace quillo::ui {

class ClickLabel;
class IpAddressEdit;
class Panel;
class Slider;
class TimeEdit;
class WrappingButton;

class Form1 : public QWidget {
    Q_OBJECT

public:
    // Builds every control with its design values, the HID controller over `backend` (none:
    // a controller that never finds a device) and the timers, and binds the handlers; no
    // handler runs.
    explicit Form1(std::shared_ptr<hid::platform::Backend> backend = nullptr,
                   QWidget* parent = nullptr);
    ~Form1() override;

    enum class StartUp {
        Run,  // show the window and run
        End,  // another copy or the service tool runs: end the program (exit code 0)
    };
    // The start-up handler; run once after construction, before the window is first shown.
    StartUp FormCreate();

    // Shows the window centred on its screen.
    void ShowCentred();

    // A page is showing while it is the active page and the window is shown.
    bool PageShowing(const QWidget* page) const;

    // --- Handlers (each also callable directly, with the same effect as when raised) ---
    // Mode and connection panels.
    void RadioButton_masterClick();
    void RadioButton_slaveClick();
    void RadioButton_without_routerClick();
    void RadioButton_with_routerClick();
    void ComboBox_Security_WI_FIChange();
    void ComboBox_IP_SlaveChange();
    void IPAddress_IP_MasterKeyUp();
    void TrackBar_Humidity_sensorChange();
    void TrackBar_External_sensor2Change();
    // Language.
    void ApplyLanguage();
    void ComboBox_LanguageChange();
    // Device list and selection.
    void ComboBox_Choose_deviceClick();
    void HidDeviceController1DeviceChange();
    bool HidDeviceController1Enumerate(hid::HidDevice* HidDev, int Idx);
    void HidDeviceController1DeviceCreateError(hid::HidDeviceController* Controller,
                                               const hid::HidPnPInfo& PnPInfo, bool& Handled,
                                               bool& RetryCreate);
    // The unit's answers.
    void HidDeviceController1DeviceData(hid::HidDevice* HidDev, std::uint8_t ReportID,
                                        const std::uint8_t* Data, std::uint16_t Size);
    // Status poll and Wi-Fi scan timers.
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    // Command buttons.
    void Button_Get_current_parametersClick();
    void Button_Restore_default_parametersClick();
    void Button_Apply_Save_Wi_FiClick();
    void Button_Apply_Save_FanClick();
    void Button_Reset_filter_timerClick();
    void Button_Search_Wi_FiClick();
    void Label_User_ManualClick();

    // --- Wi-Fi scan (form1_scan.cpp) ---
    // A scan runs from the click until its closing sequence: while Timer1 or Timer2 does.
    bool ScanRunning() const;
    // One access-point line from the unit (an input report with code 4; `data` is the report
    // after its ID, `size` bytes). During a scan it ends the repeating, schedules the closing
    // sequence and adds the network name to ComboBox_Wi_Fi_name once; outside one it is dropped.
    void ScanLineReceived(const std::uint8_t* data, std::uint16_t size);
    // Ends a running scan because its unit goes away or another is chosen: the closing
    // sequence goes to the unit while it is still attached, and a box that still waits gets
    // its text from before the click back.
    void StopScan();
    // True while a scan runs on the interface `dev` stands for (also a device re-created for it).
    bool IsScanUnit(const hid::HidDevice* dev) const;

    // --- Program-wide state ---
    // The chosen unit, or none.
    hid::HidDevice* CurrentDevice = nullptr;
    // "major.minor.release", empty until FormCreate makes it.
    QString VersionText;
    // The unit's Wi-Fi and fan parameters as last read or written; never reset.
    protocol::DeviceSettings DeviceSettings;
    // The pages' controls as the state both programs share (form1_page_state.cpp).
    protocol::WifiControls WifiControlsNow() const;
    protocol::FanControls FanControlsNow() const;
    // The bytes of the Wi-Fi name last read from the unit: while ComboBox_Wi_Fi_name still shows
    // them unedited, a write sends them back exactly (also when they are not UTF-8).
    std::vector<std::uint8_t> WiFiNameReadBytes;
    // The password last read from the unit, which may be longer than Edit_Password holds: while
    // the box shows its beginning unedited, a write sends it back whole.
    std::u16string PasswordRead;

    // --- Sending to the current unit (form1_commands.cpp) ---
    // Frames and writes one command to CurrentDevice; nothing without one.
    protocol::SendResult SendCommand(protocol::CommandCode code, const protocol::Payload& payload);
    // A blocking pause on the main thread (arriving reports and timer ticks wait).
    void Pause(std::chrono::milliseconds duration);
    // Sends a sequence's commands with its pauses.
    void RunSequence(const protocol::Sequence& sequence);
    // Replaces the blocking pause (tests record pauses instead of sleeping); empty = sleep.
    protocol::SleepFunction Sleep;

    // --- Controls: top area ---
    Panel* Panel3 = nullptr;
    QLabel* Label_Choose_device = nullptr;
    QComboBox* ComboBox_Choose_device = nullptr;
    QLabel* Label_S_N = nullptr;
    QLabel* Label_Serial_number = nullptr;
    Panel* Panel1 = nullptr;
    QLabel* Label_Choose_device_mode = nullptr;
    QRadioButton* RadioButton_master = nullptr;
    QRadioButton* RadioButton_slave = nullptr;
    Panel* Panel2 = nullptr;
    QLabel* Label_Choose_type_of_connection = nullptr;
    QRadioButton* RadioButton_without_router = nullptr;
    QRadioButton* RadioButton_with_router = nullptr;
    QLabel* Label_Language = nullptr;
    QComboBox* ComboBox_Language = nullptr;
    QPushButton* Button_Get_current_parameters = nullptr;
    QPushButton* Button_Restore_default_parameters = nullptr;
    QTabWidget* PageControl = nullptr;
    QWidget* Wi_Fi = nullptr;
    QWidget* Fan = nullptr;
    QWidget* Filter = nullptr;
    QWidget* Information = nullptr;

    // --- Wi-Fi page ---
    Panel* Panel_Wi_Fi_name = nullptr;
    WrappingButton* Button_Search_Wi_Fi = nullptr;
    QLabel* Label_Wi_Fi_name = nullptr;
    QComboBox* ComboBox_Wi_Fi_name = nullptr;
    Panel* Panel_Password = nullptr;
    QLabel* Label_type_security = nullptr;
    QComboBox* ComboBox_Security_WI_FI = nullptr;
    QLabel* Label_Password = nullptr;
    QLineEdit* Edit_Password = nullptr;
    Panel* Panel_Master_State_connection = nullptr;
    Panel* Panel_Wi_Fi_State_connection = nullptr;
    Panel* Panel_Wi_Fi_channel = nullptr;
    QLabel* Label_Wi_Fi_channel = nullptr;
    QComboBox* ComboBox_Wi_Fi_channel = nullptr;
    Panel* Panel_IP_Master = nullptr;
    QLabel* Label_IP_Master = nullptr;
    IpAddressEdit* IPAddress_IP_Master = nullptr;
    QLabel* Label_Gateway = nullptr;
    IpAddressEdit* IPAddress_Gateway = nullptr;
    Panel* Panel_Number_of_slave = nullptr;
    QLabel* Label_Number_Slave = nullptr;
    QComboBox* ComboBox_Number_Slave = nullptr;
    Panel* Panel_IP_Slave = nullptr;
    QLabel* Label_IP_Slave = nullptr;
    QComboBox* ComboBox_IP_Slave = nullptr;
    IpAddressEdit* IPAddress_IP_Slave = nullptr;
    QPushButton* Button_Apply_Save_Wi_Fi = nullptr;

    // --- Fan page ---
    QCheckBox* CheckBox_Available_OFF_device = nullptr;
    Panel* Panel_Direction_Fan_Zorvat = nullptr;
    QLabel* Label_Direction = nullptr;
    QRadioButton* RadioButton_Supply = nullptr;
    QRadioButton* RadioButton_Exhaust = nullptr;
    Panel* Panel_Direction_Fan_Bix = nullptr;
    QLabel* Label_Direction_Bix = nullptr;
    QRadioButton* RadioButton_Exhaust_Bix = nullptr;
    QRadioButton* RadioButton_Supply_Exhaust_Bix = nullptr;
    QLabel* Label_Turn_off_timer = nullptr;
    TimeEdit* TimeEdit_Timer_after_reacting_any_sensor = nullptr;
    QLabel* Label_Timer_night_mode = nullptr;
    TimeEdit* TimeEdit_Timer_night_mode = nullptr;
    QLabel* Label_Timer_party_mode = nullptr;
    TimeEdit* TimeEdit_Timer_party_mode = nullptr;
    QCheckBox* CheckBox_Humidity_sensor = nullptr;
    Slider* TrackBar_Humidity_sensor = nullptr;
    QLabel* Label_Humidity_sensor = nullptr;
    QCheckBox* CheckBox_External_sensor1 = nullptr;
    QCheckBox* CheckBox_External_sensor2 = nullptr;
    Slider* TrackBar_External_sensor2 = nullptr;
    QLabel* Label_External_sensor2 = nullptr;
    QPushButton* Button_Apply_Save_Fan = nullptr;

    // --- Filter page ---
    QLabel* Label_Timer_filter = nullptr;
    QPushButton* Button_Reset_filter_timer = nullptr;

    // --- Information page ---
    QLabel* Label_Versio_of_program = nullptr;
    QLabel* Label_Create_By = nullptr;
    ClickLabel* Label_User_Manual = nullptr;

    // --- Non-visual components ---
    hid::HidDeviceController* HidDeviceController1 = nullptr;
    QTimer* Timer1 = nullptr;  // Wi-Fi scan, 2000 ms, stopped at start
    QTimer* Timer2 = nullptr;  // Wi-Fi scan, 1500 ms, stopped at start
    QTimer* Timer3 = nullptr;  // status poll, 1000 ms, runs from the start

private:
    void BuildControls();  // form1_layout.cpp
    void BindHandlers();   // form1_layout.cpp
    // Screen reader and keyboard (form1_accessibility.cpp): the buddies, Enter and Ctrl+Tab,
    // once; the names and descriptions that follow the language, the sliders and the device
    // selector's colour, whenever those change.
    void SetUpAccessibility();
    void ApplyAccessibleTexts();
    void CreateHidDeviceController(std::shared_ptr<hid::platform::Backend> backend);
    // Command buttons (form1_writes.cpp): with no CurrentDevice shows message 550 and gives
    // false; the standard error box for a text that is not a number.
    bool RequireDevice();
    void ShowConversionError(const protocol::ConversionError& error);
    void RestoreScanName();
    // The bytes a shown Wi-Fi name was read as: those of the chosen scan item when it shows
    // that name, else WiFiNameReadBytes (form1_writes.cpp).
    std::vector<std::uint8_t> WiFiNameReadAs(const QString& shown) const;
    // One control shown from the pages' state (form1_page_state.cpp).
    void ShowPageControl(model::PageControl control, const model::PageState& state);

    // The running scan: AT sequences repeated without a line, the name box's text before the
    // click and the waiting text the click showed.
    int scanRepeats_ = 0;
    // The chosen unit's serial number request did not go out (its open was refused): asked
    // again with the next status poll.
    bool serialNumberUnasked_ = false;
    std::uint64_t scanUnitId_ = 0;  // the interface the running scan talks to
    QString scanPreviousName_;
    QString scanWaitText_;

    // The read chain's next request after an answer (form1_dispatch.cpp).
    void AskForNextReadCode(std::uint8_t answered);

    // Read answers asked for before a write of the same parameter are not shown
    // (form1_commands.cpp stamps, form1_dispatch.cpp checks); cleared when the unit changes.
    protocol::WriteGenerations generations_;
};

}  // namespace quillo::ui
