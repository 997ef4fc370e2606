#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

// Name-to-id lookups: the id of the row a name or label stands for, or "" for an empty name (no
// query runs) or no match. The engine compares exactly, letter case included.
QString GetPHMId(const QString& name);
QString GetDruhvozId(const QString& name);
QString GetVodicId(const QString& name);  // among the drivers of the selected customer
QString GetMestaId(const QString& label); // route label "town - town"
QString GetAutaId(const QString& label);  // car label "name - plate" of the selected customer

// Name lists for the combo boxes, in the engine's name order.
void FillPHMNames(QStringList& list);
void FillDruhvozNames(QStringList& list);
void FillDriverNames(QStringList& list); // the selected customer's drivers, appended
// Labels, appended; with ids, each row's id is appended there in step, as two rows may share a
// label (route "A - B" to "C" and "A" to "B - C"; car "X - Y" with plate "Z" and "X" with "Y - Z").
void FillMestaLabels(QStringList& list, QStringList* ids = nullptr);
void FillAutaLabels(QStringList& list, QStringList* ids = nullptr); // the selected customer's cars

// A combo of labels keeps each item's id as its data: item i gets ids[i].
void SetItemIds(QComboBox* combo, const QStringList& ids);
// The id kept with the combo's selected item, "" when none is selected.
QString SelectedId(const QComboBox* combo);
