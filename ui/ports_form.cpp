#include "ui/ports_form.h"

#include "platform/port_devices.h"
#include "relay/relay_bytes.h"
#include "relay/status_text.h"
#include "ui/dialog_controls.h"
#include "ui/program.h"

#include <set>

namespace quorel {

namespace {

using Kind = ControlKind;
using Event = PortsEvent;
using Part = PortsPart;

constexpr const char* kChoiceSeparator = " — ";

PortsDescription describe() {
    PortsDescription dialog{.name = "FPorts",
                            .title = "Ports",
                            .clientWidth = 7200,
                            .clientHeight = 3420,
                            .resizable = true,
                            .cancelButton = "BtnAnnuler"};
    for (int option = 0; option < kPortOptions; ++option) {
        const int top = 165 + 435 * option;
        dialog.controls.push_back({.name = "LblPort",
                                   .index = option,
                                   .caption = kPortComCaptions[option + 1],
                                   .place = {165, top + 30, 705, 285}});
        dialog.controls.push_back({.name = "CbPort",
                                   .index = option,
                                   .kind = Kind::ComboField,
                                   .place = {900, top, 6135, 315},
                                   .content = Part::Devices,
                                   .events = {Event::DeviceEdited, Event::DeviceChosen},
                                   .anchors = {.right = true}});
    }
    dialog.controls.push_back(button<Event, Part>("BtnDetecter", "Détecter le module",
                                                  {165, 1935, 2400, 330}, Event::DetectClicked));
    dialog.controls.push_back({.name = "LblDetection",
                               .place = {165, 2355, 6870, 495},
                               .content = Part::Detection,
                               .clipsText = true,
                               .anchors = {.right = true}});
    addSaveAndCancel(dialog, 2925, Event::SaveClicked, Event::CancelClicked);
    return inTabOrder(std::move(dialog));
}

std::string portsAsked(int asked, int unreachable) {
    std::string text =
        std::to_string(asked) + (asked > 1 ? " ports interrogés" : " port interrogé");
    if (unreachable > 0) {
        text += ", " + std::to_string(unreachable) +
                (unreachable > 1 ? " inaccessibles" : " inaccessible");
    }
    return text;
}

} // namespace

const PortsDescription& portsDescription() {
    static const PortsDescription dialog = describe();
    return dialog;
}

PortsForm::PortsForm(std::array<std::string, kPortOptions> devices,
                     std::vector<PresentPort> present, int detectFor, std::string inUseTarget,
                     Probe probe, SettingsStore& store, Dialogs& dialogs)
    : opened_(devices), devices_(std::move(devices)), present_(std::move(present)),
      detectFor_(detectFor), inUseTarget_(std::move(inUseTarget)), probe_(std::move(probe)),
      store_(store), dialogs_(dialogs) {}

std::string PortsForm::optionCaption(int option) {
    return kPortComCaptions.at(static_cast<size_t>(option) + 1);
}

std::vector<std::string> PortsForm::choices() const {
    std::vector<std::string> lines;
    for (const PresentPort& port : present_) {
        lines.push_back(port.description.empty()
                            ? port.device
                            : port.device + kChoiceSeparator + port.description);
    }
    return lines;
}

void PortsForm::setDevice(int option, const std::string& text) {
    const std::vector<std::string> lines = choices();
    for (size_t choice = 0; choice < lines.size(); ++choice) {
        if (text == lines[choice]) {
            chooseDevice(option, choice);
            return;
        }
    }
    devices_.at(option) = text;
}

void PortsForm::chooseDevice(int option, size_t choice) {
    if (choice < present_.size()) {
        devices_.at(option) = present_[choice].device;
    }
}

void PortsForm::detectClicked() {
    if (detecting_) {
        return;
    }
    detecting_ = true;
    std::set<std::string> asked;
    int unreachable = 0;
    detection_.clear();
    if (redrawNow) {
        redrawNow(); // nothing found yet while the module is looked for
    }
    for (const PresentPort& port : present_) {
        // One device may be listed under several names; the one in use is never disturbed.
        if (port.target == inUseTarget_ || !asked.insert(port.target).second) {
            continue;
        }
        const ProbeOutcome outcome = probe_(port.device);
        unreachable += outcome.opened ? 0 : 1;
        if (outcome.identifier && drivenRelays(*outcome.identifier) != 0) {
            devices_.at(detectFor_) = port.device;
            detection_ = moduleDescription(*outcome.identifier, outcome.version) + " trouvé sur " +
                         port.device + ", choisi pour " + optionCaption(detectFor_);
            break;
        }
    }
    if (asked.empty()) {
        detection_ = "Aucun autre port série n'est présent.";
    } else if (detection_.empty()) {
        detection_ = "Aucun module USB-RLY02 trouvé (" +
                     portsAsked(static_cast<int>(asked.size()), unreachable) + ").";
    }
    detecting_ = false;
}

std::vector<int> PortsForm::changedOptions() const {
    std::vector<int> changed;
    for (int option = 0; option < kPortOptions; ++option) {
        if (devices_.at(option) != opened_.at(option)) {
            changed.push_back(option);
        }
    }
    return changed;
}

void PortsForm::saveClicked() {
    if (detecting_) {
        return;
    }
    for (int option : changedOptions()) {
        const std::string failure =
            store_.write(kStoreApplication, kPortsSection, "COM" + std::to_string(option + 1),
                         devices_.at(option));
        if (!failure.empty()) {
            dialogs_.message(failure, MessageIcon::Critical);
            return;
        }
        opened_.at(option) = devices_.at(option);
    }
    saved_ = ended_ = true;
}

Action actionOf(PortsEvent event) {
    switch (event) {
    case PortsEvent::DeviceEdited:
        return Action::Edit;
    case PortsEvent::DeviceChosen:
        return Action::Pick;
    default:
        return Action::Click;
    }
}

const FormDescription& PortsForm::description() const {
    static const FormDescription dialog = described(portsDescription());
    return dialog;
}

ControlValue PortsForm::value(size_t control, bool /*menuItem*/) const {
    const ControlDescription<int, int>& described = description().controls.at(control);
    ControlValue shown;
    if (described.content == static_cast<int>(PortsPart::Devices)) {
        shown.items = choices();
        shown.text = device(described.index);
    } else {
        shown.text = detection_;
    }
    return shown;
}

void PortsForm::raise(const ControlInput& input) {
    const std::optional<PortsEvent> event = eventOf(description(), input, actionOf);
    if (!event || savedOrCancelled(input)) {
        return;
    }
    const int option = description().controls.at(input.control).index;
    switch (*event) {
    case PortsEvent::DeviceEdited:
        return setDevice(option, input.text);
    case PortsEvent::DeviceChosen:
        if (input.row) {
            chooseDevice(option, *input.row);
        }
        return;
    case PortsEvent::DetectClicked:
        return detectClicked();
    default:
        return;
    }
}

void PortsForm::cancelClicked() {
    if (!detecting_) {
        ended_ = true;
    }
}

namespace {

// The station's settings store as far as the dialog writes it: the device of each option.
class StationPortStore final : public SettingsStore {
  public:
    explicit StationPortStore(StationConsole& console) : console_(console) {}
    std::string read(const std::string&, const std::string&, const std::string&,
                     const std::string& fallback) override {
        return fallback;
    }
    std::string write(const std::string&, const std::string&, const std::string& key,
                      const std::string& value) override {
        const int option = key.size() == 4 && key.starts_with("COM") ? key[3] - '0' : 0;
        const Message answer = console_.request(
            Message{{"command", "setPortDevice"}, {"option", option}, {"device", value}});
        return answer.value("ok", false) ? std::string()
                                         : answer.value("error", std::string(kStationUnreachable));
    }

  private:
    StationConsole& console_;
};

std::string textAt(const Message& list, size_t index) {
    return index < list.size() && list[index].is_string() ? list[index].get<std::string>() : "";
}

// "Ports…" of a console: the devices the station sees and the module it detects; the station
// writes the choices and opens a new device of the option in use itself.
void editStationPorts(Program& program, FormScreen& screen) {
    StationConsole& console = program.console;
    const Message answer = console.request(Message{{"command", "serialPorts"}});
    if (!answer.value("ok", false)) {
        program.dialogs().message(answer.value("error", std::string(kStationUnreachable)),
                                  MessageIcon::Critical);
        return;
    }
    const Message devices = answer.value("devices", Message::array());
    std::array<std::string, kPortOptions> options;
    for (size_t option = 0; option < options.size(); ++option) {
        options.at(option) = textAt(devices, option);
    }
    std::vector<PresentPort> present;
    for (const Message& port : answer.value("present", Message::array())) {
        present.push_back({port.value("device", std::string()),
                           port.value("description", std::string()),
                           port.value("target", std::string())});
    }
    const int16_t inUse = program.panel.PortCom;
    const bool usesAnOption = inUse >= 1 && inUse <= kPortOptions;
    const std::string inUseTarget =
        usesAnOption ? textAt(answer.value("targets", Message::array()), inUse - 1) : "";
    StationPortStore store(console);
    PortsForm form(
        options, present, usesAnOption ? inUse - 1 : 0, inUseTarget,
        [&console](const std::string& device) {
            const Message probed =
                console.request(Message{{"command", "probe"}, {"device", device}});
            ProbeOutcome outcome;
            outcome.opened = probed.value("opened", false);
            if (probed.contains("identifier")) {
                outcome.identifier = probed.value("identifier", uint8_t{0});
                outcome.version = probed.value("version", uint8_t{0});
            }
            return outcome;
        },
        store, program.dialogs());
    screen.show(form);
}

} // namespace

void editPorts(Program& program, FormScreen& screen) {
    if (program.console.active()) {
        return editStationPorts(program, screen);
    }
    SerialPorts& ports = program.serialPorts();
    std::array<std::string, kPortOptions> devices;
    for (int option = 0; option < kPortOptions; ++option) {
        devices.at(option) = deviceForPort(program.store(), option + 1);
    }
    const int16_t inUse = program.panel.PortCom;
    const bool usesAnOption = inUse >= 1 && inUse <= kPortOptions;
    const std::string inUseTarget = usesAnOption ? ports.targetOf(devices.at(inUse - 1)) : "";
    Clock& clock = program.clock();
    PortsForm form(
        devices, ports.present(), usesAnOption ? inUse - 1 : 0, inUseTarget,
        [&ports, &clock](const std::string& device) {
            return probeModule(*ports.newDevice(), device, clock);
        },
        program.store(), program.dialogs());
    screen.show(form);
    // Read back from the store: an option written before a failed write counts as well.
    const int16_t chosen = program.panel.PortCom;
    if (!program.ended() && chosen >= 1 && chosen <= kPortOptions &&
        deviceForPort(program.store(), chosen) != devices.at(chosen - 1)) {
        program.portChoice.deviceChanged();
    }
}

} // namespace quorel
