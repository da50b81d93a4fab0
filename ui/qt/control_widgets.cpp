#include "ui/qt/control_widgets.h"

#include "ui/qt/colours.h"
#include "ui/qt/twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace quorel {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList qsList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) {
        list << qs(text);
    }
    return list;
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

// The type of a control: its container's, bold or larger as described.
QFont typeOf(const FormControl& control, const QFont& inherited) {
    QFont type = inherited;
    type.setBold(control.bold);
    if (control.largerType != 0) {
        type.setPixelSize(QFontInfo(inherited).pixelSize() + px(control.largerType));
    }
    return type;
}

QTreeWidget* reportList(const FormControl& control, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    QStringList captions;
    for (const ListColumn& column : control.columns) {
        captions << QString::fromUtf8(column.caption);
    }
    list->setHeaderLabels(captions);
    list->header()->setSectionsClickable(true);
    list->header()->setSectionsMovable(false);
    for (size_t column = 0; column < control.columns.size(); ++column) {
        const ColumnFit fit = columnFit(control, column);
        if (fit == ColumnFit::Described) {
            list->setColumnWidth(static_cast<int>(column), px(control.columns[column].width));
        }
        list->header()->setStretchLastSection(fit == ColumnFit::Rest);
    }
    return list;
}

QWidget* widgetOf(const FormControl& control, QWidget* parent) {
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        if (control.alignment != TextAlignment::Left) {
            label->setAlignment(qtAlignment(control.alignment));
        }
        if (control.framed) {
            label->setFrameShape(QFrame::Box);
        }
        return label;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::OptionButton:
        return new QRadioButton(caption, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::TextField:
        return new QLineEdit(parent);
    case ControlKind::ColourBox: {
        auto* box = new QFrame(parent);
        box->setFrameShape(QFrame::Box);
        return box;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(caption, parent);
    case ControlKind::ReportList:
        return reportList(control, parent);
    case ControlKind::ListBox: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        return list;
    }
    case ControlKind::DropDown:
        return new QComboBox(parent);
    case ControlKind::ComboField: {
        auto* field = new QComboBox(parent);
        field->setEditable(true);
        field->setInsertPolicy(QComboBox::NoInsert);
        return field;
    }
    case ControlKind::DateField: {
        auto* field = new QDateEdit(parent);
        field->setCalendarPopup(true);
        field->setDisplayFormat("dd/MM/yyyy");
        return field;
    }
    case ControlKind::LinesView: {
        auto* lines = new QPlainTextEdit(parent);
        lines->setReadOnly(true);
        lines->setLineWrapMode(QPlainTextEdit::NoWrap);
        // Fixed width, so that the times of the lines stand in a column.
        lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        return lines;
    }
    }
    return new QWidget(parent);
}

QRect pixels(const TwipsRect& place) {
    return twipsRect(place.left, place.top, place.width, place.height);
}

// A label whose text changes keeps its place: a text too wide for it takes a smaller type.
void fitType(QLabel* label, const FormControl& control) {
    QFont type = typeOf(control, label->parentWidget()->font());
    const QFontMetrics metrics(type);
    const int needed = metrics.boundingRect(QRect(), Qt::AlignLeft, label->text()).width();
    // A framed label indents its text by half an "x" on each side.
    const int indent = control.framed ? metrics.horizontalAdvance(QLatin1Char('x')) : 0;
    const int available = label->contentsRect().width() - indent;
    const int height = QFontInfo(type).pixelSize();
    const int fitting = typeHeightToFit(height, needed, available);
    if (fitting != height) {
        type.setPixelSize(fitting);
    }
    if (label->font() != type) {
        label->setFont(type);
    }
}

Qt::CheckState qtCheckState(CheckState state) {
    switch (state) {
    case CheckState::Checked:
        return Qt::Checked;
    case CheckState::Greyed:
        return Qt::PartiallyChecked;
    case CheckState::Unchecked:
        break;
    }
    return Qt::Unchecked;
}

void showCheck(QAbstractButton* button, CheckState check) {
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
        // Greyed is shown, never reached by a click: a click goes from one of the others.
        box->setTristate(check == CheckState::Greyed);
        box->setCheckState(qtCheckState(check));
        return;
    }
    const bool checked = check == CheckState::Checked;
    QButtonGroup* group = button->group();
    // An exclusive group keeps its checked option: none checked is shown outside the rule.
    if (!checked && group != nullptr && button->isChecked()) {
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button->setChecked(checked);
}

QBrush rowForeground(Look look, const QWidget* list) {
    switch (look) {
    case Look::Greyed:
        return list->palette().brush(QPalette::Disabled, QPalette::Text);
    case Look::Warning:
        return warningTextColour();
    default:
        return QBrush();
    }
}

// Rows already shown keep their items, so that the list stays scrolled where it was.
void showRows(QTreeWidget* list, const FormControl& control, const ControlValue& was,
              const ControlValue& now) {
    const int count = static_cast<int>(now.rows.size());
    while (list->topLevelItemCount() > count) {
        delete list->takeTopLevelItem(list->topLevelItemCount() - 1);
    }
    const auto lookOf = [](const ControlValue& value, size_t row) {
        return row < value.rowLooks.size() ? value.rowLooks[row] : Look::Plain;
    };
    const auto tipOf = [](const ControlValue& value, size_t row) {
        return row < value.rowToolTips.size() ? value.rowToolTips[row] : std::string();
    };
    for (int row = 0; row < count; ++row) {
        const auto at = static_cast<size_t>(row);
        QTreeWidgetItem* item = nullptr;
        if (row < list->topLevelItemCount()) {
            item = list->topLevelItem(row);
            if (at < was.rows.size() && was.rows[at] == now.rows[at] &&
                lookOf(was, at) == lookOf(now, at) && tipOf(was, at) == tipOf(now, at)) {
                continue;
            }
        } else {
            item = new QTreeWidgetItem(list);
        }
        const Look look = lookOf(now, at);
        const QString tip = qs(tipOf(now, at));
        for (int column = 0; column < list->columnCount(); ++column) {
            const auto text = static_cast<size_t>(column) < now.rows[at].size()
                                  ? qs(now.rows[at][column])
                                  : QString();
            item->setText(column, text);
            item->setForeground(column, rowForeground(look, list));
            item->setBackground(column,
                                look == Look::Warning ? warningBackgroundColour() : QBrush());
            item->setToolTip(column, tip);
        }
    }
    // Columns without a width fit their texts; the last one fills the rest.
    for (size_t column = 0; column < control.columns.size(); ++column) {
        if (columnFit(control, column) == ColumnFit::Texts) {
            list->resizeColumnToContents(static_cast<int>(column));
        }
    }
}

void selectRow(QTreeWidget* list, std::optional<size_t> row) {
    QTreeWidgetItem* item = row ? list->topLevelItem(static_cast<int>(*row)) : nullptr;
    if (item == nullptr) {
        list->clearSelection();
    }
    list->setCurrentItem(item);
}

int rowOf(std::optional<size_t> row) {
    return row ? static_cast<int>(*row) : -1;
}

void showItems(QComboBox* box, const ControlValue& now) {
    box->clear();
    box->addItems(qsList(now.items));
}

// What only some kinds show: their texts, lines, rows, choice, day or check.
void showContent(QWidget* widget, const FormControl& control, const ControlValue& was,
                 const ControlValue& now) {
    const bool newItems = now.items != was.items;
    switch (control.kind) {
    case ControlKind::Label: {
        auto* label = static_cast<QLabel*>(widget);
        if (now.text != was.text) {
            label->setText(qs(now.text));
            if (control.clipsText) {
                fitType(label, control);
            }
        }
        break;
    }
    case ControlKind::TextField:
        if (now.text != was.text) {
            static_cast<QLineEdit*>(widget)->setText(qs(now.text));
        }
        break;
    case ControlKind::ComboField: {
        auto* field = static_cast<QComboBox*>(widget);
        if (newItems) {
            showItems(field, now);
        }
        // New lines replace the text typed: it is shown again.
        if (newItems || now.text != was.text) {
            field->setEditText(qs(now.text));
        }
        break;
    }
    case ControlKind::DropDown: {
        auto* box = static_cast<QComboBox*>(widget);
        if (newItems) {
            showItems(box, now);
        }
        if (newItems || now.selected != was.selected) {
            box->setCurrentIndex(rowOf(now.selected));
        }
        break;
    }
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        if (newItems) {
            list->clear();
            list->addItems(qsList(now.items));
        }
        if (newItems || now.selected != was.selected) {
            list->setCurrentRow(rowOf(now.selected));
        }
        break;
    }
    case ControlKind::ReportList: {
        auto* list = static_cast<QTreeWidget*>(widget);
        const bool newRows = now.rows != was.rows || now.rowLooks != was.rowLooks ||
                             now.rowToolTips != was.rowToolTips;
        if (newRows) {
            showRows(list, control, was, now);
        }
        if (newRows || now.selected != was.selected) {
            selectRow(list, now.selected);
        }
        break;
    }
    case ControlKind::DateField:
        if (now.date != was.date) {
            static_cast<QDateEdit*>(widget)->setDate(
                QDate(now.date.year, now.date.month, now.date.day));
        }
        break;
    case ControlKind::LinesView:
        if (now.text != was.text) {
            auto* lines = static_cast<QPlainTextEdit*>(widget);
            lines->setPlainText(qs(now.text));
            lines->moveCursor(QTextCursor::End);
            lines->ensureCursorVisible();
        }
        break;
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        if (now.check != was.check) {
            showCheck(static_cast<QAbstractButton*>(widget), now.check);
        }
        break;
    case ControlKind::PushButton:
    case ControlKind::ColourBox:
    case ControlKind::GroupBox:
        break;
    }
}

} // namespace

QString objectNameOf(const char* name, int index) {
    const QString plain = QString::fromUtf8(name);
    return index < 0 ? plain : QStringLiteral("%1_%2").arg(plain).arg(index);
}

QWidget* buildControl(const FormControl& control, QWidget* parent) {
    QWidget* built = widgetOf(control, parent);
    built->setObjectName(objectNameOf(control.name, control.index));
    if (control.bold || control.largerType != 0) {
        built->setFont(typeOf(control, parent->font()));
    }
    if (*control.toolTip != '\0') {
        built->setToolTip(QString::fromUtf8(control.toolTip));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(built);
        button != nullptr && control.checked) {
        button->setChecked(true);
    }
    built->setGeometry(pixels(control.place));
    if (widensToFitCaption(control)) {
        const QSize needed = built->sizeHint();
        built->setGeometry(
            pixels(placeFitting(control, twips(needed.width()), twips(needed.height()))));
    }
    if (control.kind == ControlKind::Label && control.clipsText) {
        fitType(static_cast<QLabel*>(built), control);
    }
    if (!control.visible) {
        built->hide();
    }
    return built;
}

ControlValue describedValue(const FormControl& control) {
    ControlValue value;
    if (control.kind == ControlKind::Label) {
        value.text = control.caption;
    }
    value.toolTip = control.toolTip;
    value.check = control.checked ? CheckState::Checked : CheckState::Unchecked;
    value.visible = control.visible;
    return value;
}

void showValue(QWidget* widget, const FormControl& control, const ControlValue& was,
               const ControlValue& now) {
    showContent(widget, control, was, now);
    if (now.look != was.look) {
        widget->setStyleSheet(lookStyleSheet(now.look));
    }
    if (now.toolTip != was.toolTip) {
        widget->setToolTip(
            QString::fromUtf8(now.toolTip.empty() ? control.toolTip : now.toolTip.c_str()));
    }
    if (now.enabled != was.enabled) {
        widget->setEnabled(now.enabled);
    }
    if (now.visible != was.visible) {
        widget->setVisible(now.visible);
    }
}

} // namespace quorel
