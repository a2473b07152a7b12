#pragma once

class QCoreApplication;

// Qt's own texts (standard buttons, file and input dialogs) in Chinese,
// whatever the desktop's language: everything the pupil reads is Chinese.
// False, with a warning on the terminal, when the translations are not
// installed; the program then runs with Qt's English texts.
bool LoadQtTranslations(QCoreApplication& app);
