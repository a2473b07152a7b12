#pragma once

#include <QString>

#include "tools/TextbookSource.h"

// Assembles a whole installation (Bin/AppPics and Common) from the content
// folder: lesson database, pictures, pronunciations, feedback sounds, the
// program's own pictures and help texts.
class InstallationBuilder {
public:
    InstallationBuilder(const QString& contentDir, const QString& installDir, const QString& cacheDir);

    bool Build();

private:
    bool ReadSources();
    bool WriteDatabase();
    bool WritePictures();
    bool WriteSounds();
    bool WriteAppFiles();
    bool Fail(const QString& what);

    QString contentDir_;
    QString installDir_;
    QString cacheDir_;
    TextbookSource source_;
};
