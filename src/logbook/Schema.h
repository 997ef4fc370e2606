#pragma once

// Creation routines of the eleven tables. Each creates its table when it is missing and, only
// after such a fresh creation, adds the table's seed rows or unique index. Every operation calls
// the routine of each table it reads or writes, before it begins its own transaction.
void CreateTableZakaznici();
void CreateTablePHM();
void CreateTableVodic();
void CreateTableCPHM();
void CreateTableDruhvoz();
void CreateTablePausnahr();
void CreateTableMesta();
void CreateTableAuta();
void CreateTablePocstav();
void CreateTableJazdy();
void CreateTableRoky();
