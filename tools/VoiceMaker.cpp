#include "tools/VoiceMaker.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

namespace {

// Part of the cache key: a change of voice or processing makes new files.
const QString kVoiceSettings = QStringLiteral("slt-hts|22050|trim0.02|norm-3|v1");

bool Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Silence trimmed at both ends, loudness evened out, 16-bit mono; no dither,
// so the same input always gives the same bytes.
bool Finish(const QString& raw, const QString& target) {
    return Run(QStringLiteral("sox"), {QStringLiteral("-D"), raw, QStringLiteral("-r"), QStringLiteral("22050"),
                                       QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-b"),
                                       QStringLiteral("16"), QStringLiteral("-t"), QStringLiteral("wav"), target,
                                       QStringLiteral("silence"), QStringLiteral("1"),
                                       QStringLiteral("0.02"), QStringLiteral("0.5%"), QStringLiteral("reverse"),
                                       QStringLiteral("silence"), QStringLiteral("1"), QStringLiteral("0.02"),
                                       QStringLiteral("0.5%"), QStringLiteral("reverse"), QStringLiteral("pad"),
                                       QStringLiteral("0.05"), QStringLiteral("0.1"), QStringLiteral("norm"),
                                       QStringLiteral("-3")});
}

bool Synth(const QString& target, const QStringList& notes) {
    QTemporaryDir dir;
    QStringList parts;
    for (int i = 0; i < notes.size(); ++i) {
        const QString part = dir.filePath(QStringLiteral("%1.wav").arg(i));
        QStringList args = {QStringLiteral("-D"), QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("22050"),
                            QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("16"), part};
        args << notes[i].split(QLatin1Char(' '));
        if (!Run(QStringLiteral("sox"), args)) return false;
        parts << part;
    }
    QStringList join = {QStringLiteral("-D")};
    join << parts << target << QStringLiteral("norm") << QStringLiteral("-4");
    return Run(QStringLiteral("sox"), join);
}

}  // namespace

VoiceMaker::VoiceMaker(const QString& cacheDir) : cacheDir_(cacheDir) {
    QDir().mkpath(cacheDir_);
}

QString VoiceMaker::LetterName(QChar letter) {
    static const char* names[] = {"ay",  "bee", "see", "dee", "ee",  "ef",  "jee", "aitch", "eye",
                                  "jay", "kay", "el",  "em",  "en",  "oh",  "pee", "cue",   "ar",
                                  "ess", "tee", "you", "vee", "double you", "ex", "why", "zee"};
    const int index = letter.toLower().unicode() - 'a';
    return index >= 0 && index < 26 ? QString::fromLatin1(names[index]) : QString();
}

QString VoiceMaker::CachePath(const QString& text) const {
    const QByteArray key = QCryptographicHash::hash((kVoiceSettings + QLatin1Char('|') + text).toUtf8(),
                                                    QCryptographicHash::Sha1).toHex();
    return cacheDir_ + QLatin1Char('/') + QString::fromLatin1(key) + QStringLiteral(".wav");
}

bool VoiceMaker::SpeakOne(const QString& text, const QString& target) {
    const QString cached = CachePath(text);
    if (!QFile::exists(cached)) {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("text.txt"));
        const QString raw = dir.filePath(QStringLiteral("raw.wav"));
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly)) return false;
        file.write(text.toUtf8() + '\n');
        file.close();
        // The natural voice first; formant speech only when it fails.
        const bool spoken = (Run(QStringLiteral("text2wave"), {QStringLiteral("-eval"),
                                                               QStringLiteral("(voice_cmu_us_slt_arctic_hts)"),
                                                               script, QStringLiteral("-o"), raw}) &&
                             QFile(raw).size() > 1000) ||
                            Run(QStringLiteral("espeak-ng"), {QStringLiteral("-w"), raw, text});
        const QString partial = cached + QStringLiteral(".part");
        if (!spoken || !Finish(raw, partial) || !QFile::rename(partial, cached)) return false;
    }
    QFile::remove(target);
    return QFile::copy(cached, target);
}

bool VoiceMaker::Speak(const std::vector<std::pair<QString, QString>>& jobs) {
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    auto worker = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++)
            if (!SpeakOne(jobs[i].first, jobs[i].second)) {
                ok = false;
                qWarning("could not speak \"%s\"", qPrintable(jobs[i].first));
            }
    };
    std::thread first(worker), second(worker);
    first.join();
    second.join();
    return ok;
}

bool VoiceMaker::MakeFeedbackSounds(const QString& appVoiceDir) {
    // Success: a bright rising arpeggio; failure: two low falling tones;
    // notice: one soft chime.
    return Synth(appVoiceDir + QStringLiteral("/SuccessWav1.wav"),
                 {QStringLiteral("synth 0.11 sine 523.25 fade 0.005 0.11 0.03"),
                  QStringLiteral("synth 0.11 sine 659.25 fade 0.005 0.11 0.03"),
                  QStringLiteral("synth 0.11 sine 783.99 fade 0.005 0.11 0.03"),
                  QStringLiteral("synth 0.32 sine 1046.5 fade 0.005 0.32 0.25")}) &&
           Synth(appVoiceDir + QStringLiteral("/FailWav0.wav"),
                 {QStringLiteral("synth 0.22 triangle 330 fade 0.01 0.22 0.05"),
                  QStringLiteral("synth 0.38 triangle 220 fade 0.01 0.38 0.3")}) &&
           Synth(appVoiceDir + QStringLiteral("/Notify0.wav"), {QStringLiteral("synth 0.45 sine 880 fade 0.005 0.45 0.4")});
}
