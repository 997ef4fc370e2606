#pragma once

// Loads the toolkit's own Slovak texts (print dialog, folder dialog, input box buttons), as the system
// dialogs of a Slovak desktop show them, and the program's Slovak for the texts the toolkit's leaves in
// English (the print dialog's options, printer properties and job options, Cancel, the folder type);
// the toolkit's own text wins where it has one. Without the toolkit's translation only the program's
// texts are Slovak. Answers whether the toolkit's translation was loaded. Needs the application
// object; later calls do nothing and answer the same.
bool LoadToolkitTranslation();
