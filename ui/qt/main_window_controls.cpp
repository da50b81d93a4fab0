#include "ui/qt/main_window_controls.h"

#include "ui/qt/colours.h"
#include "ui/qt/twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <map>
#include <string_view>

namespace quorel {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString objectName(const char* name, int index) {
    const QString plain = QLatin1String(name);
    return index < 0 ? plain : QStringLiteral("%1_%2").arg(plain).arg(index);
}

QRect rectOf(const TwipsRect& place) {
    return twipsRect(place.left, place.top, place.width, place.height);
}

Qt::Alignment qtAlignment(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::Centre:
        return Qt::AlignCenter;
    case TextAlignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TextAlignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QLabel* label(const MainWindowControl& control, QWidget* parent) {
    auto* built = new QLabel(text(control.caption), parent);
    if (control.alignment != TextAlignment::Left) {
        built->setAlignment(qtAlignment(control.alignment));
    }
    if (control.framed) {
        built->setFrameShape(QFrame::Box);
    }
    return built;
}

QTreeView* reportList(QWidget* parent) {
    auto* list = new QTreeView(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    list->header()->setSectionsClickable(true);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(false);
    return list;
}

// The design places were drawn for a narrower typeface: a caption that does not fit its place
// grows (to the left for right-aligned text) instead of being cut.
void widenToFitCaption(QWidget* control) {
    const QSize wanted = control->sizeHint();
    QRect place = control->geometry();
    if (wanted.width() > place.width()) {
        const auto* label = qobject_cast<QLabel*>(control);
        const bool rightAligned = label != nullptr && (label->alignment() & Qt::AlignRight);
        if (rightAligned) {
            place.setLeft(place.right() - wanted.width() + 1);
        } else {
            place.setWidth(wanted.width());
        }
    }
    if (wanted.height() > place.height()) {
        place.adjust(0, -(wanted.height() - place.height()) / 2, 0, 0);
        place.setHeight(wanted.height());
    }
    control->setGeometry(place);
}

bool widensToFitCaption(const MainWindowControl& control) {
    switch (control.kind) {
    case ControlKind::Label:
        return !control.clipsText;
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        return true;
    default:
        return false;
    }
}

template <typename Widget> Widget* handle(QWidget* client, const char* name, int index = -1) {
    auto* found = client->findChild<Widget*>(objectName(name, index));
    Q_ASSERT(found != nullptr);
    return found;
}

} // namespace

void MainWindowControls::buildMenus(QMainWindow& window) {
    for (const auto& menu : mainWindowDescription().menus) {
        // A pop-up menu is the window's own; the menu bar's are the bar's.
        QMenu* built = menu.onMenuBar ? window.menuBar()->addMenu(text(menu.caption))
                                      : new QMenu(text(menu.caption), &window);
        built->setObjectName(text(menu.name));
        for (const auto& item : menu.items) {
            QAction* action = built->addAction(text(item.caption));
            action->setObjectName(objectName(item.name, item.index));
            action->setCheckable(item.checkable);
            items.emplace_back(&item, action);
            if (item.content == ViewPart::AutoRun) {
                mnuautorun = action;
            }
        }
        if (!menu.onMenuBar) {
            mnuJour = built;
        }
    }
}

QWidget* MainWindowControls::build(const MainWindowControl& control, QMainWindow& window,
                                   QWidget* parent) {
    QWidget* built = nullptr;
    switch (control.kind) {
    case ControlKind::Label:
        built = label(control, parent);
        break;
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text(control.caption), parent);
        button->setAutoDefault(false);
        built = button;
        break;
    }
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(text(control.caption), parent);
        if (portGroup == nullptr) {
            portGroup = new QButtonGroup(&window);
            portGroup->setExclusive(true);
        }
        portGroup->addButton(option, control.index);
        built = option;
        break;
    }
    case ControlKind::CheckBox:
        built = new QCheckBox(text(control.caption), parent);
        break;
    case ControlKind::TextField:
        built = new QLineEdit(parent);
        break;
    case ControlKind::ColourBox:
        built = new QFrame(parent);
        built->setStyleSheet(boxStyleSheet(Indicator::Off));
        break;
    case ControlKind::GroupBox:
        built = new QGroupBox(text(control.caption), parent);
        break;
    case ControlKind::ReportList:
        built = reportList(parent);
        break;
    case ControlKind::ListBox: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        built = list;
        break;
    }
    case ControlKind::DropDown:
        built = new QComboBox(parent);
        break;
    case ControlKind::ComboField:
    case ControlKind::DateField:
    case ControlKind::LinesView:
        Q_ASSERT(false); // the window has none
        return nullptr;
    }
    built->setObjectName(objectName(control.name, control.index));
    built->setGeometry(rectOf(control.place));
    if (*control.toolTip != '\0') {
        built->setToolTip(text(control.toolTip));
    }
    if (control.bold || control.largerType != 0) {
        QFont font = built->font();
        font.setBold(control.bold);
        if (control.largerType != 0) {
            font.setPixelSize(font.pixelSize() + px(control.largerType));
        }
        built->setFont(font);
    }
    if (auto* option = qobject_cast<QAbstractButton*>(built);
        option != nullptr && control.checked) {
        option->setChecked(true);
    }
    if (!control.visible) {
        built->hide();
    }
    return built;
}

void MainWindowControls::bindHandles(QWidget* client) {
    for (int i = 0; i < 5; ++i) {
        PortCom[i] = handle<QRadioButton>(client, "PortCom", i);
    }
    LblHeure = handle<QLabel>(client, "LblHeure");
    LblProchaine = handle<QLabel>(client, "LblProchaine");
    for (int i = 0; i < 4; ++i) {
        CheckS[i] = handle<QCheckBox>(client, "CheckS", i);
        LedOut[i] = handle<QFrame>(client, "LedOut", i);
        LblTemp[i] = handle<QLabel>(client, "LblTemp", i);
        LblMaxi[i] = handle<QLabel>(client, "LblMaxi", i);
    }
    for (int i = 0; i < 2; ++i) {
        CmdRelais[i] = handle<QPushButton>(client, "CmdRelais", i);
        ChDecoupe[i] = handle<QLineEdit>(client, "ChDecoupe", i);
    }
    InfoERR = handle<QLabel>(client, "InfoERR");
    ComboS = handle<QComboBox>(client, "ComboS");
    ChDure = handle<QLineEdit>(client, "ChDure");
    Quorel = handle<QTreeView>(client, "Quorel");
    JourSemaine = handle<QListWidget>(client, "JourSemaine");
    for (int i = 0; i < 3; ++i) {
        ChEdit[i] = handle<QLineEdit>(client, "ChEdit", i);
    }
}

MainWindowControls::MainWindowControls(QMainWindow& window) {
    const MainWindowDescription& description = mainWindowDescription();
    buildMenus(window);
    // The places are in pixels, so the type is too: the size the layout was made for.
    QFont type = window.font();
    type.setPixelSize(px(description.typeHeight));
    window.setFont(type);
    auto* client = new QWidget(&window);
    client->setObjectName("client");
    client->setFixedSize(px(description.clientWidth), px(description.clientHeight));
    window.setCentralWidget(client);
    // Built in the order described, which Qt then also takes as the tab order.
    std::map<std::string_view, QWidget*> containers;
    for (const MainWindowControl& control : description.controls) {
        QWidget* parent = control.container == nullptr ? client : containers.at(control.container);
        QWidget* built = build(control, window, parent);
        if (control.kind == ControlKind::GroupBox) {
            containers[control.name] = built;
        }
        this->built.emplace_back(&control, built);
    }
    for (const auto& [control, widget] : this->built) {
        if (widensToFitCaption(*control)) {
            widenToFitCaption(widget);
        }
    }
    bindHandles(client);
}

} // namespace quorel
