#pragma once

#include "core/form.h"
#include "platform/dialogs.h"
#include "platform/serial_ports.h"
#include "platform/settings_store.h"
#include "relay/module_probe.h"
#include "ui/dialog_controls.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace quorel {

class Program;

// What the controls of the dialog "Ports" raise.
enum class PortsEvent {
    DeviceEdited,  // CbPort: the text of an option's field changed (typed)
    DeviceChosen,  // CbPort: a device picked in an option's drop-down
    DetectClicked, // BtnDetecter
    SaveClicked,   // BtnEnregistrer
    CancelClicked, // BtnAnnuler
};

// The groups of its controls whose content the form owns.
enum class PortsPart {
    Devices,   // the fields CbPort_0 to CbPort_3 and their drop-downs
    Detection, // LblDetection: what the last detection found
};

using PortsDescription = WindowDescription<PortsEvent, PortsPart>;

const PortsDescription& portsDescription();
Action actionOf(PortsEvent event);

// The options whose device the dialog sets: COM1: to COM4:.
inline constexpr int kPortOptions = 4;

// What the dialog "Ports" shows and what its controls do: the device each option opens, the
// devices present to choose from, the detection of the module, and the save of the choices to
// the settings store ([Ports] COM1 to COM4).
class PortsForm final : public EditingForm {
  public:
    using Probe = std::function<ProbeOutcome(const std::string& device)>;

    // devices: what each option opens now; detectFor: the option (0 for COM1:) that a detected
    // module is chosen for; inUseTarget: the device the port in use holds, never asked.
    PortsForm(std::array<std::string, kPortOptions> devices, std::vector<PresentPort> present,
              int detectFor, std::string inUseTarget, Probe probe, SettingsStore& store,
              Dialogs& dialogs);

    // "COM1:" to "COM4:".
    static std::string optionCaption(int option);
    // The drop-downs' lines: each device present with what it is ("COM5 — USB Serial Device").
    std::vector<std::string> choices() const;
    const std::string& device(int option) const { return devices_.at(option); }
    const std::string& detection() const { return detection_; }

    // The field's text as the operator typed it; a line of the drop-down stands for its device.
    void setDevice(int option, const std::string& text);
    void chooseDevice(int option, size_t choice);
    // Asks every device present but the one in use who it is; the first USB-RLY02 becomes the
    // device of option detectFor. What was found is said in detection(). While it runs, the
    // window's events go on: the other clicks wait for it to end.
    void detectClicked();
    void saveClicked() override;
    void cancelClicked() override;

    const FormDescription& description() const override;
    ControlValue value(size_t control, bool menuItem) const override;
    void raise(const ControlInput& input) override;

    // The options whose device differs from the one they opened when the dialog opened.
    std::vector<int> changedOptions() const;

  private:
    std::array<std::string, kPortOptions> opened_;
    std::array<std::string, kPortOptions> devices_;
    std::vector<PresentPort> present_;
    int detectFor_;
    std::string inUseTarget_;
    Probe probe_;
    SettingsStore& store_;
    Dialogs& dialogs_;
    std::string detection_;
    bool detecting_ = false;
};

// "Ports…": shows the devices of the four options; once saved, the option in use opens its new
// device at once (its relays switched off on the old one first).
void editPorts(Program& program, FormScreen& screen);

} // namespace quorel
