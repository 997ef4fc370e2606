#pragma once

#include <QString>
#include <QStringList>

// Name-to-id lookups: the id of the row a name or label stands for, or "" for an empty name (no
// query runs) or no match. The engine compares exactly, letter case included.
QString GetPHMId(const QString& name);
QString GetDruhvozId(const QString& name);
QString GetVodicId(const QString& name);  // among the drivers of the selected customer
QString GetMestaId(const QString& label); // route label "town - town"
QString GetAutaId(const QString& label);  // the selected customer's car, label "name - plate"

// Name lists for the combo boxes, in the engine's name order.
void FillPHMNames(QStringList& list);
void FillDruhvozNames(QStringList& list);
void FillDriverNames(QStringList& list); // the selected customer's drivers, appended
// Route labels, appended; with ids, each route's id is appended there in step, as two routes may
// share a label ("A - B" to "C" and "A" to "B - C").
void FillMestaLabels(QStringList& list, QStringList* ids = nullptr);
void FillAutaLabels(QStringList& list); // the selected customer's car labels, appended
