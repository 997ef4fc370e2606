#pragma once

// Loads the toolkit's own Slovak texts (print dialog, folder dialog, input box buttons), as the system
// dialogs of a Slovak desktop show them. Quietly does nothing when the translation is not installed.
// Answers whether it was loaded. Needs the application object.
bool LoadToolkitTranslation();
