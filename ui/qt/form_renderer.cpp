#include "ui/qt/form_renderer.h"

#include "ui/qt/control_widgets.h"
#include "ui/qt/twips.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QTreeWidget>
#include <map>
#include <string>

namespace quorel {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

KeyRelease keyReleaseOf(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    return KeyRelease{event->key() == Qt::Key_Delete ? ListKey::Delete : ListKey::Other,
                      {.shift = (modifiers & Qt::ShiftModifier) != 0,
                       .control = (modifiers & Qt::ControlModifier) != 0,
                       .alt = (modifiers & Qt::AltModifier) != 0}};
}

std::optional<size_t> rowOf(int row) {
    return row >= 0 ? std::optional<size_t>(row) : std::nullopt;
}

template <typename List> std::optional<size_t> selectedRow(List* list) {
    const auto selected = list->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    if constexpr (std::is_same_v<List, QTreeWidget>) {
        return rowOf(list->indexOfTopLevelItem(selected.front()));
    } else {
        return rowOf(list->row(selected.front()));
    }
}

bool isList(ControlKind kind) {
    return kind == ControlKind::ReportList || kind == ControlKind::ListBox;
}

} // namespace

FormRenderer::FormRenderer(FormDescription description, QWidget& client, QMenuBar* menuBar)
    : QObject(&client), description_(std::move(description)), client_(client) {
    if (description_.typeHeight > 0) {
        // The places are in pixels, so the type is too: the size the layout was made for.
        QFont type = client.window()->font();
        type.setPixelSize(px(description_.typeHeight));
        client.window()->setFont(type);
    }
    buildMenus(menuBar);
    std::map<std::string_view, QWidget*> containers;
    std::map<std::string_view, QButtonGroup*> options;
    for (const FormControl& control : description_.controls) {
        QWidget* parent = control.container == nullptr ? &client : containers.at(control.container);
        QWidget* built = buildControl(control, parent);
        if (control.kind == ControlKind::GroupBox) {
            containers[control.name] = built;
        }
        if (control.kind == ControlKind::OptionButton) {
            // The options of one name exclude each other, wherever they lie.
            QButtonGroup*& group = options[control.name];
            if (group == nullptr) {
                group = new QButtonGroup(this);
            }
            group->addButton(static_cast<QAbstractButton*>(built));
        }
        widgets_.push_back(built);
        places_.push_back(built->geometry());
        shown_.push_back(describedValue(control));
        wire(widgets_.size() - 1);
    }
    if (description_.resizable) {
        client.installEventFilter(this);
    }
}

void FormRenderer::buildMenus(QMenuBar* menuBar) {
    for (const MenuDescription<int, int>& menu : description_.menus) {
        // A pop-up menu is the window's own; the menu bar's are the bar's.
        QMenu* built = menu.onMenuBar ? menuBar->addMenu(text(menu.caption))
                                      : new QMenu(text(menu.caption), client_.window());
        built->setObjectName(text(menu.name));
        menus_.push_back(built);
        for (const MenuItemDescription<int, int>& item : menu.items) {
            QAction* action = built->addAction(text(item.caption));
            action->setObjectName(objectNameOf(item.name, item.index));
            action->setCheckable(item.checkable);
            actions_.push_back(action);
            shownItems_.push_back({.text = item.caption});
            if (!item.events.empty()) {
                wireMenuItem(actions_.size() - 1);
            }
        }
    }
}

FormRenderer::~FormRenderer() {
    bind(nullptr);
}

void FormRenderer::bind(Form* form) {
    bindRenderer(form_, form, [this] { draw(); });
}

void FormRenderer::wireMenuItem(size_t item) {
    connect(actions_[item], &QAction::triggered, this, [this, item](bool checked) {
        act({.control = item,
             .menuItem = true,
             .check = checked ? CheckState::Checked : CheckState::Unchecked});
    });
}

void FormRenderer::wire(size_t control) {
    const FormControl& described = description_.controls[control];
    if (described.events.empty()) {
        return;
    }
    QWidget* widget = widgets_[control];
    const auto input = [control](Action action) {
        return ControlInput{.control = control, .action = action};
    };
    switch (described.kind) {
    case ControlKind::PushButton:
        connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                [this, input] { act(input(Action::Click)); });
        break;
    case ControlKind::OptionButton:
        connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                [this, input] {
                    ControlInput click = input(Action::Click);
                    click.check = CheckState::Checked;
                    act(click);
                });
        break;
    case ControlKind::CheckBox: {
        auto* box = static_cast<QCheckBox*>(widget);
        connect(box, &QCheckBox::clicked, this, [this, input, box] {
            ControlInput click = input(Action::Click);
            click.check = box->checkState() == Qt::Checked            ? CheckState::Checked
                          : box->checkState() == Qt::PartiallyChecked ? CheckState::Greyed
                                                                      : CheckState::Unchecked;
            act(click);
        });
        break;
    }
    case ControlKind::TextField:
        connect(static_cast<QLineEdit*>(widget), &QLineEdit::textChanged, this,
                [this, input](const QString& typed) {
                    ControlInput edit = input(Action::Edit);
                    edit.text = typed.toStdString();
                    act(edit);
                });
        break;
    case ControlKind::ComboField: {
        auto* field = static_cast<QComboBox*>(widget);
        connect(field, &QComboBox::editTextChanged, this, [this, input](const QString& typed) {
            ControlInput edit = input(Action::Edit);
            edit.text = typed.toStdString();
            act(edit);
        });
        // The line picked replaces the field's text, which is noted as shown.
        connect(field, &QComboBox::activated, this, [this, input, field](int row) {
            ControlInput pick = input(Action::Pick);
            pick.row = rowOf(row);
            pick.text = field->itemText(row).toStdString();
            act(pick);
        });
        break;
    }
    case ControlKind::DropDown: {
        auto* box = static_cast<QComboBox*>(widget);
        connect(box, &QComboBox::currentIndexChanged, this, [this, input](int row) {
            ControlInput pick = input(Action::Pick);
            pick.row = rowOf(row);
            act(pick);
        });
        break;
    }
    case ControlKind::DateField:
        connect(static_cast<QDateEdit*>(widget), &QDateEdit::dateChanged, this,
                [this, input](const QDate& day) {
                    ControlInput edit = input(Action::Edit);
                    edit.date = LocalDate{day.year(), day.month(), day.day()};
                    act(edit);
                });
        break;
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        connect(list, &QListWidget::itemSelectionChanged, this, [this, input, list] {
            ControlInput pick = input(Action::Pick);
            pick.row = selectedRow(list);
            act(pick);
        });
        break;
    }
    case ControlKind::ReportList: {
        auto* list = static_cast<QTreeWidget*>(widget);
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this, input, list] {
            ControlInput pick = input(Action::Pick);
            pick.row = selectedRow(list);
            act(pick);
        });
        connect(list, &QTreeWidget::itemClicked, this,
                [this, input] { act(input(Action::Click)); });
        connect(list->header(), &QHeaderView::sectionClicked, this, [this, input](int column) {
            ControlInput header = input(Action::HeaderClick);
            header.row = rowOf(column);
            act(header);
        });
        break;
    }
    case ControlKind::Label:
    case ControlKind::ColourBox:
    case ControlKind::GroupBox:
    case ControlKind::LinesView:
        break;
    }
    if (isList(described.kind)) {
        widget->installEventFilter(this); // its keys, see eventFilter
    }
}

bool FormRenderer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &client_ && event->type() == QEvent::Resize) {
        followAnchors();
    } else if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        for (size_t control = 0; control < widgets_.size(); ++control) {
            if (widgets_[control] == watched && !key->isAutoRepeat()) {
                act({.control = control, .action = Action::KeyRelease, .key = keyReleaseOf(key)});
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void FormRenderer::act(const ControlInput& input) {
    if (drawing_ > 0 || form_ == nullptr) {
        return;
    }
    noteShown(input);
    if (form_->waitsForInputEnd(input)) {
        QTimer::singleShot(0, this, [this, input] { hand(input); });
        return;
    }
    hand(input);
}

void FormRenderer::hand(const ControlInput& input) {
    if (form_ == nullptr || form_->ended()) {
        return;
    }
    form_->raise(input);
    if (form_ == nullptr) {
        return; // let go of while it acted
    }
    if (form_->ended()) {
        if (onEnded) {
            onEnded();
        }
        return;
    }
    draw();
}

// What the operator changed is on screen already: the next value is compared with that.
void FormRenderer::noteShown(const ControlInput& input) {
    if (input.menuItem) {
        shownItems_[input.control].check = input.check;
        return;
    }
    const FormControl& control = description_.controls[input.control];
    ControlValue& shown = shown_[input.control];
    switch (input.action) {
    case Action::Edit:
        shown.text = input.text;
        shown.date = input.date;
        break;
    case Action::Pick:
        shown.selected = input.row;
        if (control.kind == ControlKind::ComboField) {
            shown.text = input.text;
        }
        break;
    case Action::Click:
        shown.check = input.check;
        if (control.kind == ControlKind::OptionButton) {
            for (size_t other = 0; other < shown_.size(); ++other) {
                if (other != input.control &&
                    std::string_view(description_.controls[other].name) == control.name) {
                    shown_[other].check = CheckState::Unchecked;
                }
            }
        }
        break;
    case Action::HeaderClick:
    case Action::KeyRelease:
        break;
    }
}

void FormRenderer::draw() {
    drawEach([](const std::optional<int>& content) { return content.has_value(); });
}

void FormRenderer::draw(int part) {
    drawEach([part](const std::optional<int>& content) { return content == part; });
}

void FormRenderer::drawEach(const std::function<bool(const std::optional<int>&)>& drawn) {
    if (form_ == nullptr) {
        return;
    }
    ++drawing_;
    for (size_t control = 0; control < widgets_.size(); ++control) {
        const FormControl& described = description_.controls[control];
        if (drawn(described.content)) {
            ControlValue now = shownValue(described, form_->value(control, false));
            showValue(widgets_[control], described, shown_[control], now);
            shown_[control] = std::move(now);
        }
    }
    const std::vector<FormMenuItem> items = menuItems(description_);
    for (size_t item = 0; item < items.size(); ++item) {
        if (drawn(items[item].item->content)) {
            ControlValue now = shownValue(*items[item].item, form_->value(item, true));
            QAction* action = actions_[item];
            ControlValue& was = shownItems_[item];
            if (now.text != was.text) {
                action->setText(QString::fromStdString(now.text));
            }
            if (now.check != was.check) {
                action->setChecked(now.check == CheckState::Checked);
            }
            if (now.enabled != was.enabled) {
                action->setEnabled(now.enabled);
            }
            if (now.visible != was.visible) {
                action->setVisible(now.visible);
            }
            was = std::move(now);
        }
    }
    --drawing_;
}

void FormRenderer::popUp(std::string_view menu) {
    for (QMenu* each : menus_) {
        if (each->objectName() == QLatin1String(menu.data(), static_cast<qsizetype>(menu.size()))) {
            each->exec(QCursor::pos());
        }
    }
}

void FormRenderer::click(std::string_view button) {
    for (size_t control = 0; control < widgets_.size(); ++control) {
        if (description_.controls[control].name == button) {
            act({.control = control, .action = Action::Click});
        }
    }
}

// Each control keeps its distance to the sides of its container it is anchored to: anchored to
// both, it grows; to the far one only, it moves.
void FormRenderer::followAnchors() {
    const QSize described(px(description_.clientWidth), px(description_.clientHeight));
    std::map<std::string_view, QSize> growths{{"", client_.size() - described}};
    for (size_t control = 0; control < widgets_.size(); ++control) {
        const FormControl& each = description_.controls[control];
        const QSize growth = growths.at(each.container == nullptr ? "" : each.container);
        const QRect& built = places_[control];
        const Span across = anchoredSpan({built.left(), built.width()}, each.anchors.left,
                                         each.anchors.right, growth.width());
        const Span down = anchoredSpan({built.top(), built.height()}, each.anchors.top,
                                       each.anchors.bottom, growth.height());
        const int width = across.length;
        const int height = down.length;
        widgets_[control]->setGeometry(across.start, down.start, width, height);
        if (each.kind == ControlKind::GroupBox) {
            growths[each.name] = QSize(width, height) - built.size();
        }
    }
}

} // namespace quorel
