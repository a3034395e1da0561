// Start-up: language, the single-instance rule, the time entries and the version.

#include <QComboBox>

#include "lang/language.h"
#include "lang/message_table.h"
#include "platform/instance_lock.h"
#include "platform/program_names.h"
#include "platform/program_version.h"
#include "ui/form1.h"
#include "ui/message_box.h"
#include "ui/time_edit.h"

namespace quillo::ui {

Form1::StartUp Form1::FormCreate() {
    namespace system = quillo::platform;

    // First, so that the message about the service tool is in the user's language.
    lang::SelectStartupLanguage();

    // Another copy runs: end silently; it is neither told nor raised.
    if (system::NamedObjectExists(system::kUnitProgramName)) {
        return StartUp::End;
    }
    if (system::NamedObjectExists(system::kServiceToolName)) {
        ShowMessage(nullptr, lang::MessageText(590));
        return StartUp::End;
    }
    // A copy started at the same moment may have passed the test above too: whoever takes the
    // lock second ends like any second copy.
    if (system::CreateNamedObject(system::kUnitProgramName) == system::CreateResult::AlreadyHeld) {
        return StartUp::End;
    }

    TimeEdit_Timer_after_reacting_any_sensor->setText(QStringLiteral("00:00"));
    TimeEdit_Timer_night_mode->setText(QStringLiteral("00:00"));
    TimeEdit_Timer_party_mode->setText(QStringLiteral("00:00"));

    VersionText = QString::fromStdString(system::ProgramVersionText());

    // Not a user's choice: sets the index without storing anything.
    ComboBox_Language->setCurrentIndex(lang::LanguageIndex);

    ApplyLanguage();
    return StartUp::Run;
}

}  // namespace quillo::ui
