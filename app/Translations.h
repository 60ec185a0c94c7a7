#pragma once

class QCoreApplication;

namespace quillsheet {

// Installs the window's texts for the user's language on the application,
// which owns the translators afterwards. Texts in code are looked up by id;
// the English catalogue, built into the program, answers every id the
// user's language leaves out. The forms' texts are their English wording. Qt's own dialog texts
// follow the same language when Qt's catalogue for it is installed. Call on the main thread before
// any window is made; a missing catalogue is not an error.
void InstallTranslations(QCoreApplication& application);

}  // namespace quillsheet
