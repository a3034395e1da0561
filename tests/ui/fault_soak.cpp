// Fault soak: the window over simulated units that misbehave at random (plug and unplug,
// refused opens, unreadable capabilities, 0-byte reads, read errors, slow and garbage answers)
// while the status poll and the read chain run and the fan settings are applied again and again.
// After every Apply to a unit that could be reached, the unit must hold every fan value applied
// to it since it became the current unit (or since its values were last received). Seeded and
// bounded; prints its figures and ends non-zero on any loss; a watchdog aborts on a hang.
//
//   fault_soak [--seconds=N] [--seed=N]

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "hid/hid_device.h"
#include "hid/hid_device_controller.h"
#include "lang/message_table.h"
#include "sim/sim_backend.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/time_edit.h"
#include "ui/windows10_style.h"

namespace quillo::ui {
namespace {

using Clock = std::chrono::steady_clock;
using FanValues = std::map<std::string, std::uint32_t>;

constexpr auto kHangLimit = std::chrono::seconds(30);
constexpr int kMaxUnits = 3;

// Aborts the process when the main thread makes no progress for kHangLimit.
class Watchdog {
public:
    Watchdog() : thread_([this] { Watch(); }) {}
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    void Alive(long action) {
        std::lock_guard lock(mutex_);
        last_ = Clock::now();
        action_ = action;
    }

private:
    void Watch() {
        std::unique_lock lock(mutex_);
        while (!cv_.wait_for(lock, std::chrono::seconds(1), [this] { return done_; })) {
            if (Clock::now() - last_ > kHangLimit) {
                std::fprintf(stderr, "fault soak: HANG, no progress for 30 s after action %ld\n",
                             action_);
                std::abort();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    Clock::time_point last_ = Clock::now();
    long action_ = 0;
    std::thread thread_;
};

// The unit's fan values in the form they travel in.
FanValues UnitFan(const sim::UnitParameters& p) {
    return {{"off available", p.offAvailable},
            {"direction", p.direction},
            {"humidity sensor", p.humiditySensor},
            {"relay sensor", p.relaySensor},
            {"voltage sensor", p.voltageSensor},
            {"humidity threshold", p.humidityThreshold},
            {"voltage threshold", p.voltageThreshold},
            {"off delay timer", p.offDelayTimer},
            {"night timer", p.nightTimer},
            {"party timer", p.partyTimer},
            {"humidity scenario", p.humidityScenario}};
}

class Soak {
public:
    Soak(int seconds, std::uint32_t seed) : seconds_(seconds), seed_(seed), random_(seed) {}

    int Run() {
        backend_ = std::make_shared<sim::SimBackend>();
        for (int i = 0; i < 2; ++i) {
            PlugUnit(false);
        }
        form_ = std::make_unique<Form1>(backend_);
        form_->show();
        QApplication::processEvents();  // the controller's first device change
        Watchdog watchdog;
        const auto end = Clock::now() + std::chrono::seconds(seconds_);
        while (Clock::now() < end && lost_ == 0) {
            ++actions_;
            Act();
            watchdog.Alive(actions_);
            QTest::qWait(Pick(0, 120));
            watchdog.Alive(actions_);
        }
        // Answers still on their way must not reach the half-destroyed window.
        form_->HidDeviceController1->SetOnDeviceData(
            [](hid::HidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {});
        form_.reset();
        std::printf(
            "fault soak: seed %u, %d s: %ld actions, %ld plugs, %ld unplugs, %ld applies, %ld "
            "applies checked, %ld values checked, %ld lost\n",
            seed_, seconds_, actions_, plugs_, unplugs_, applies_, checked_, valuesChecked_, lost_);
        return lost_ == 0 && checked_ > 0 ? 0 : 1;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    // Faults a unit starts with or picks up on the way; each counted one ends by itself.
    sim::Faults RandomFaults() {
        sim::Faults f;
        f.refusedReadWriteOpens = Chance(25) ? Pick(1, 4) : 0;
        f.unreadableLengths = Chance(20) ? Pick(1, 2) : 0;
        f.zeroLengthReads = Chance(25) ? Pick(1, 5) : 0;
        f.readErrors = Chance(20) ? Pick(1, 3) : 0;
        f.answerDelay = std::chrono::milliseconds(Chance(50) ? Pick(0, 150) : 0);
        f.garbageEvery = Chance(20) ? Pick(2, 9) : 0;
        return f;
    }

    void PlugUnit(bool notify) {
        sim::SimInterface& iface =
            backend_->plugUnit(Chance(50) ? sim::Model::Solvi : sim::Model::Pargo, false);
        iface.setFaults(RandomFaults());
        ++plugs_;
        if (notify) {
            backend_->raiseChange();
        }
    }

    sim::SimInterface* Current() {
        hid::HidDevice* dev = form_->CurrentDevice;
        return dev == nullptr ? nullptr : backend_->find(dev->PnPInfo()->path);
    }

    // What the soak holds the current unit to belongs to that unit only.
    void FollowCurrentUnit() {
        sim::SimInterface* iface = Current();
        const std::string path = iface == nullptr ? std::string() : iface->path();
        if (path != intentPath_) {
            intentPath_ = path;
            intent_.clear();
        }
    }

    // The last actions, told with a loss.
    void Log(const std::string& what) {
        history_.push_back(std::to_string(actions_) + " " + what);
        if (history_.size() > 12) {
            history_.erase(history_.begin());
        }
    }

    void Act() {
        const int roll = Pick(1, 100);
        if (roll <= 8 && backend_->count() < kMaxUnits) {
            PlugUnit(true);
            Log("plug " + backend_->interface(backend_->count() - 1).path());
        } else if (roll <= 14 && backend_->count() > 0) {
            const std::string path = backend_->interface(Pick(0, backend_->count() - 1)).path();
            backend_->unplug(path);
            ++unplugs_;
            Log("unplug " + path);
        } else if (roll <= 24 && backend_->count() > 0) {
            sim::SimInterface& iface = backend_->interface(Pick(0, backend_->count() - 1));
            iface.setFaults(RandomFaults());
            Log("faults " + iface.path());
        } else if (roll <= 32 && Current() != nullptr) {
            // The user asks for the unit's values: what it holds is what counts from now on.
            form_->Button_Get_current_parametersClick();
            intent_.clear();
            Log("receive current parameters from " + Current()->path());
        } else if (Current() != nullptr) {
            Apply();
        }
        FollowCurrentUnit();
        if (backend_->count() == 0) {
            PlugUnit(true);
            FollowCurrentUnit();
        }
    }

    void SetTime(TimeEdit* edit, const std::string& name, FanValues& applied) {
        const int hours = Pick(0, 23);
        const int minutes = Pick(0, 59);
        edit->setText(
            QStringLiteral("%1:%2").arg(hours, 2, 10, QChar('0')).arg(minutes, 2, 10, QChar('0')));
        applied[name] = static_cast<std::uint32_t>(hours * 3600 + minutes * 60);
    }

    void SetCheck(QCheckBox* box, const std::string& name, FanValues& applied) {
        const bool on = Chance(50);
        box->setChecked(on);
        applied[name] = on ? 1 : 0;
    }

    void SetRadio(QRadioButton* one, QRadioButton* zero, const std::string& name,
                  FanValues& applied) {
        const bool first = Chance(50);
        (first ? one : zero)->setChecked(true);
        applied[name] = first ? 1 : 0;
    }

    void SetSlider(QSlider* slider, const std::string& name, FanValues& applied) {
        const int position = Pick(slider->minimum(), slider->maximum());
        slider->setValue(position);
        applied[name] = static_cast<std::uint32_t>(position * 5);
    }

    void Apply() {
        sim::SimInterface* iface = Current();
        FanValues applied;
        Form1& f = *form_;
        // A few fields change each time; the others keep what the window shows.
        const int change = Pick(1, 11);
        for (int field = 1; field <= 11; ++field) {
            if (field != change && !Chance(25)) {
                continue;
            }
            switch (field) {
                case 1:
                    SetCheck(f.CheckBox_Available_OFF_device, "off available", applied);
                    break;
                case 2:
                    SetRadio(f.RadioButton_Exhaust, f.RadioButton_Supply, "direction", applied);
                    break;
                case 3:
                    SetCheck(f.CheckBox_Humidity_sensor, "humidity sensor", applied);
                    break;
                case 4:
                    SetCheck(f.CheckBox_External_sensor1, "relay sensor", applied);
                    break;
                case 5:
                    SetCheck(f.CheckBox_External_sensor2, "voltage sensor", applied);
                    break;
                case 6:
                    SetSlider(f.TrackBar_Humidity_sensor, "humidity threshold", applied);
                    break;
                case 7:
                    SetSlider(f.TrackBar_External_sensor2, "voltage threshold", applied);
                    break;
                case 8:
                    SetTime(f.TimeEdit_Timer_after_reacting_any_sensor, "off delay timer", applied);
                    break;
                case 9:
                    SetTime(f.TimeEdit_Timer_night_mode, "night timer", applied);
                    break;
                case 10:
                    SetTime(f.TimeEdit_Timer_party_mode, "party timer", applied);
                    break;
                default:
                    SetRadio(f.RadioButton_Exhaust_Bix, f.RadioButton_Supply_Exhaust_Bix,
                             "humidity scenario", applied);
                    break;
            }
        }
        // Reachable: plugged in, and no refusal or unreadable capabilities still to come.
        const sim::Faults faults = iface->faults();
        const bool reachable = iface->pluggedIn() && !faults.refuseReadWrite &&
                               faults.refusedReadWriteOpens == 0 && faults.unreadableLengths == 0 &&
                               faults.writeErrors == 0;
        ++applies_;
        form_->Button_Apply_Save_FanClick();
        std::string changed;
        for (const auto& [name, value] : applied) {
            changed += " " + name + "=" + std::to_string(value);
        }
        Log("apply to " + iface->path() + (reachable ? "" : " (unreachable)") + ":" + changed);
        for (const auto& [name, value] : applied) {
            intent_[name] = value;
        }
        if (!reachable) {
            // Its writes may fail, and the window ignores that: nothing to hold it to yet.
            intent_.clear();
            return;
        }
        ++checked_;
        const FanValues held = UnitFan(iface->unit()->parameters());
        for (const auto& [name, value] : intent_) {
            ++valuesChecked_;
            const std::uint32_t actual = held.at(name);
            if (actual != value) {
                ++lost_;
                std::fprintf(stderr,
                             "fault soak: LOST at action %ld (seed %u): %s of %s is %u, applied "
                             "%u\n",
                             actions_, seed_, name.c_str(), iface->path().c_str(), actual, value);
            }
        }
        if (lost_ > 0) {
            for (const std::string& line : history_) {
                std::fprintf(stderr, "  %s\n", line.c_str());
            }
        }
    }

    int seconds_;
    std::uint32_t seed_;
    std::mt19937 random_;
    std::shared_ptr<sim::SimBackend> backend_;
    std::unique_ptr<Form1> form_;
    std::string intentPath_;
    FanValues intent_;
    std::vector<std::string> history_;
    long actions_ = 0, plugs_ = 0, unplugs_ = 0, applies_ = 0, checked_ = 0, valuesChecked_ = 0,
         lost_ = 0;
};

}  // namespace
}  // namespace quillo::ui

int main(int argc, char* argv[]) {
    int seconds = 60;
    std::uint32_t seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--seconds=", 0) == 0) {
            seconds = std::atoi(arg.c_str() + 10);
        } else if (arg.rfind("--seed=", 0) == 0) {
            seed = static_cast<std::uint32_t>(std::strtoul(arg.c_str() + 7, nullptr, 10));
        } else {
            std::fprintf(stderr, "usage: fault_soak [--seconds=N] [--seed=N]\n");
            return 2;
        }
    }
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    qputenv("LC_ALL", "en_US.UTF-8");
    qputenv("QUILLO_MESSAGE_BOXES", "stderr");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    quillo::ui::ApplyProgramFonts();
    quillo::ui::ApplyVisualStyle(QStringLiteral("Windows10"));
    quillo::lang::LanguageIndex = 1;
    return quillo::ui::Soak(seconds, seed).Run();
}
