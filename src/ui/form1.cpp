#include "ui/form1.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <utility>

#include "hid/hid_device_controller.h"
#include "ui/accessibility.h"

namespace quillo::ui {

Form1::Form1(std::shared_ptr<hid::platform::Backend> backend, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Aldrun Quillo"));
    setFixedSize(728, 488);
    // Before any control exists: a screen reader may ask for one as soon as it does.
    InstallAccessibleInterfaces();
    BuildControls();
    CreateHidDeviceController(std::move(backend));
    BindHandlers();
    SetUpAccessibility();
    ApplyAccessibleTexts();
}

// The controller goes first, while the window is whole: freeing the devices it still holds may
// deliver a report already received, which then finds no current unit and is dropped.
Form1::~Form1() {
    CurrentDevice = nullptr;
    delete HidDeviceController1;
    HidDeviceController1 = nullptr;
    // The name box validates once more when it loses the focus as the window closes, and its
    // validator asks this object, which by then is only a QWidget.
    ComboBox_Wi_Fi_name->lineEdit()->setValidator(nullptr);
}

// The controller posts itself its first device change now; the event loop delivers it once the
// window runs, after FormCreate.
void Form1::CreateHidDeviceController(std::shared_ptr<hid::platform::Backend> backend) {
    HidDeviceController1 = new hid::HidDeviceController(std::move(backend), this);
    HidDeviceController1->setObjectName(QStringLiteral("HidDeviceController1"));
    // The design's handlers: stored only, the first scan comes with the start-up notification.
    HidDeviceController1->BeginLoading();
    HidDeviceController1->SetOnEnumerate(
        [this](hid::HidDevice* dev, int idx) { return HidDeviceController1Enumerate(dev, idx); });
    HidDeviceController1->SetOnDeviceChange(
        [this](hid::HidDeviceController* /*sender*/) { HidDeviceController1DeviceChange(); });
    HidDeviceController1->SetOnDeviceCreateError([this](hid::HidDeviceController* controller,
                                                        const hid::HidPnPInfo& info, bool& handled,
                                                        bool& retry) {
        HidDeviceController1DeviceCreateError(controller, info, handled, retry);
    });
    HidDeviceController1->SetOnDeviceData(
        [this](hid::HidDevice* dev, std::uint8_t reportId, const std::uint8_t* data,
               std::uint16_t size) { HidDeviceController1DeviceData(dev, reportId, data, size); });
    HidDeviceController1->EndLoading();
}

void Form1::ShowCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
}

bool Form1::PageShowing(const QWidget* page) const {
    return isVisible() && PageControl->currentWidget() == page;
}

}  // namespace quillo::ui
