#include "core/form.h"

#include <algorithm>

namespace quorel {

std::vector<FormMenuItem> menuItems(const FormDescription& description) {
    std::vector<FormMenuItem> items;
    for (const MenuDescription<int, int>& menu : description.menus) {
        for (const MenuItemDescription<int, int>& item : menu.items) {
            items.push_back({&menu, &item});
        }
    }
    return items;
}

bool widensToFitCaption(const ControlDescription<int, int>& control) {
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

TwipsRect placeFitting(const ControlDescription<int, int>& control, int neededWidth,
                       int neededHeight) {
    TwipsRect place = control.place;
    if (!widensToFitCaption(control)) {
        return place;
    }
    if (neededWidth > place.width) {
        if (control.kind == ControlKind::Label && control.alignment == TextAlignment::Right) {
            place.left -= neededWidth - place.width;
        }
        place.width = neededWidth;
    }
    if (neededHeight > place.height) {
        place.top -= (neededHeight - place.height) / 2;
        place.height = neededHeight;
    }
    return place;
}

int typeHeightToFit(int typeHeight, int neededWidth, int availableWidth) {
    if (neededWidth <= availableWidth || neededWidth <= 0) {
        return typeHeight;
    }
    const int fitting =
        static_cast<int>(static_cast<long long>(typeHeight) * availableWidth / neededWidth);
    return std::max(fitting, (typeHeight * 2 + 2) / 3);
}

ColumnFit columnFit(const ControlDescription<int, int>& list, size_t column) {
    if (list.columns.at(column).width > 0) {
        return ColumnFit::Described;
    }
    return column + 1 == list.columns.size() ? ColumnFit::Rest : ColumnFit::Texts;
}

Span anchoredSpan(Span built, bool nearAnchor, bool farAnchor, int growth) {
    if (!farAnchor) {
        return built;
    }
    return nearAnchor ? Span{built.start, built.length + growth}
                      : Span{built.start + growth, built.length};
}

ControlValue shownValue(const ControlDescription<int, int>& control, ControlValue value) {
    if (value.toolTip.empty()) {
        value.toolTip = control.toolTip;
    }
    return value;
}

ControlValue shownValue(const MenuItemDescription<int, int>& item, ControlValue value) {
    if (value.text.empty()) {
        value.text = item.caption;
    }
    return value;
}

} // namespace quorel
