#pragma once

#include "core/form.h"
#include "core/view.h"
#include "platform/dialogs.h"
#include "ui/edit_fields.h"
#include "ui/editor_list.h"

namespace quorel {

inline constexpr const char* kAddOutputError = "Saisie invalide Sortie de 1 à 2 seulement";
inline constexpr const char* kReplaceOutputError = "Saisie invalide Sortie de 1 à 4 seulement";

// The editor's commands on the list: add, replace, delete, clear, copy into the fields, sort,
// and the generation of a series of entries.
class EntryCommands {
  public:
    EntryCommands(EditorList& list, EditFields& fields, Dialogs& dialogs, View& view);

    void BtnAjouter_Click();
    void BtnReplacer_Click();
    void BtnSupp_Click();
    // Delete removes the selected row, whatever modifiers are held.
    void Quorel_KeyUp(const KeyRelease& released);
    void BtnDelete_Click();
    void Quorel_Click();
    // headerPosition counts the columns from 1.
    void Quorel_ColumnClick(int headerPosition);
    void BtnInti_Click();

  private:
    void removeSelected();
    // Tells the operator that the list holds the most rows it can.
    void reportListFull();

    EditorList& list_;
    EditFields& fields_;
    Dialogs& dialogs_;
    View& view_;
};

} // namespace quorel
