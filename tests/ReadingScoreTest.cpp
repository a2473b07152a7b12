#include "media/Dtw.h"
#include "media/MediaStore.h"
#include "media/Mfcc.h"
#include "media/PcmConverter.h"
#include "media/ReadingScore.h"
#include "media/Resampler.h"
#include "tests/support/TempInstall.h"

const QStringList kUnit = {"apple", "banana", "elephant", "window", "seven", "purple"};

// The unit's standards in one voice; the pupil's takes in another, higher one.
class ReadingScoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const QString& word : kUnit)
            install.WriteFile("Common/voice/" + word + ".wav", TempInstall::Speak(word));
        score.UseWords(kUnit);
    }

    QByteArray Take(const QString& word) const {
        return TempInstall::Speak(word, {"-v", "en-gb-x-rp+f3", "-p", "80", "-s", "150"});
    }

    TempInstall install;
    MediaStore store{install.BinDir()};
    ReadingScore score{store};
};

TEST_F(ReadingScoreTest, TheWordItselfScoresAboveAnotherWordOfItsUnit) {
    for (const auto& [target, other] : std::vector<std::pair<QString, QString>>{{"apple", "window"}, {"banana", "seven"}, {"elephant", "purple"}}) {
        const auto right = score.Score(target, Take(target));
        const auto wrong = score.Score(target, Take(other));
        ASSERT_TRUE(right && wrong) << target.toStdString();
        EXPECT_GT(right->margin, wrong->margin) << target.toStdString();
        EXPECT_GE(right->stars, 2) << target.toStdString();
        EXPECT_EQ(wrong->stars, 1) << target.toStdString();
        // The reading is drawn on the standard's time.
        EXPECT_EQ(right->aligned.size(), right->standard.size());
    }
}

TEST_F(ReadingScoreTest, SilenceHasNoVoiceAndNoStars) {
    EXPECT_FALSE(score.Score("apple", QByteArray("RIFF"))) << "an empty file cannot be read";
    const auto result = score.Score("apple", TempInstall::MakeWav(2.0, 44100, 2, 16, 0));
    ASSERT_TRUE(result);
    EXPECT_EQ(QString("%1 %2").arg(result->voiced).arg(result->stars), "0 0");
    EXPECT_FALSE(score.Score("no such word", Take("apple"))) << "a word without a standard is not scored";
}

TEST_F(ReadingScoreTest, TheSameReadingScoresAlikeAtAnyRateAndChannelCount) {
    install.WriteFile("take.wav", Take("banana"));
    std::vector<ReadingScore::Result> results;
    for (const auto& [rate, channels] : std::vector<std::pair<int, int>>{{16000, 1}, {44100, 2}}) {
        const QString name = QString("take-%1-%2.wav").arg(rate).arg(channels);
        QProcess::execute("sox", {install.Root() + "/take.wav", "-r", QString::number(rate), "-c", QString::number(channels), "-b", "16",
                                  install.Root() + "/" + name});
        const auto result = score.Score("banana", install.ReadFile(name));
        ASSERT_TRUE(result);
        results.push_back(*result);
    }
    EXPECT_EQ(results[0].stars, results[1].stars);
    // Two resamplers whose filters differ just below 8 kHz, where the bands end.
    EXPECT_NEAR(results[0].margin, results[1].margin, 0.05 * results[0].margin);
}

// A tone through each resampler from 44.1 kHz to 16 kHz: below 8 kHz it
// keeps its loudness, above it is gone instead of folding back.
TEST(ResamplerTest, KeepsWhatFitsTheNewRateAndRemovesWhatDoesNot) {
    const auto rms = [](const auto& samples, double full) {
        double sum = 0;
        const size_t from = samples.size() / 4, to = samples.size() * 3 / 4;
        for (size_t i = from; i < to; ++i) sum += std::pow(samples[i] / full, 2);
        return std::sqrt(sum / static_cast<double>(to - from));
    };
    for (const double hz : {1000.0, 7000.0, 9000.0, 12000.0}) {
        std::vector<float> tone(44100);
        std::vector<qint16> pcm(tone.size());
        for (size_t i = 0; i < tone.size(); ++i) {
            tone[i] = 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / 44100));
            pcm[i] = static_cast<qint16>(tone[i] * 32767);
        }
        const double in = rms(tone, 1.0);
        const double kept = hz < 8000 ? 0.9 : 0.0;
        const double floatOut = rms(Resampler::Resample(tone, 1, 44100, 16000), 1.0) / in;
        const double pcmOut = rms(PcmConverter::Convert(pcm, 1, 44100, 1, 16000), 32767.0) / in;
        for (const double out : {floatOut, pcmOut}) {
            if (kept > 0)
                EXPECT_GT(out, kept) << hz;
            else
                EXPECT_LT(out, 0.01) << hz;
        }
    }
}

// Twenty loud frames between quiet ones, each cepstrum a cubic in time: the
// quiet edges go, the cepstra lose their mean, and the slopes are the
// regression over two frames either side (a cubic's is 3f^2 + 17/5, its
// slope's 6f), the first slopes weighted twice.
TEST(FeaturesTest, SpeechIsTrimmedMeanFreeAndCarriesItsSlopes) {
    const int quiet = 3, loud = 20;
    Mfcc::Frames all;
    for (int f = 0; f < quiet + loud + quiet; ++f) {
        all.level.push_back(f >= quiet && f < quiet + loud ? 0.5f : 0.0001f);
        for (int k = 0; k < Mfcc::kDims; ++k)
            all.values.push_back(k < Mfcc::kCepstra ? (k + 1) * std::pow(f - quiet, 3.0f) / 1000 : 0.0f);
    }
    const Mfcc::Frames speech = Mfcc::Speech(all);
    ASSERT_EQ(speech.Count(), static_cast<size_t>(loud));
    for (int k = 0; k < Mfcc::kCepstra; ++k) {
        SCOPED_TRACE(k);
        const float a = (k + 1) / 1000.0f;
        double sum = 0;
        for (size_t f = 0; f < speech.Count(); ++f) sum += speech.Row(f)[k];
        EXPECT_NEAR(sum / loud, 0.0, 1e-3);
        EXPECT_NEAR(speech.Row(1)[k] - speech.Row(0)[k], a, 1e-4);
        const int f = 10;
        EXPECT_NEAR(speech.Row(f)[Mfcc::kCepstra + k], 2 * a * (3 * f * f + 3.4f), 1e-2);
        EXPECT_NEAR(speech.Row(f)[2 * Mfcc::kCepstra + k], 2 * a * 6 * f, 1e-2);
    }
    all.level.assign(all.level.size(), 0.002f);
    EXPECT_EQ(Mfcc::Speech(all).Count(), 0u) << "too quiet to be a voice";
}

// One-hot frames compared by angle: equal ones cost nothing, other ones 1,
// a diagonal step twice (the first frames meet diagonally); the path
// weighs rows + columns.
TEST(FeaturesTest, WarpingMatchesEachFrameWithItsLikeAndCostsTheMismatches) {
    const auto frames = [](std::vector<int> axes) {
        Mfcc::Frames out;
        for (int axis : axes) {
            out.level.push_back(1);
            for (int k = 0; k < Mfcc::kDims; ++k) out.values.push_back(k == axis ? 1.0f : 0.0f);
        }
        return out;
    };
    const Mfcc::Frames a = frames({1, 1, 2, 2, 3}), b = frames({1, 2, 2, 3, 3});
    EXPECT_FLOAT_EQ(Dtw::Distance(a, b), 0.0f);
    EXPECT_EQ(Dtw::Align(a, b), (std::vector<size_t>{0, 2, 3, 4, 4}));
    EXPECT_FLOAT_EQ(Dtw::Distance(a, frames({1, 1, 2, 2, 4})), 2.0f / 10);
    EXPECT_FLOAT_EQ(Dtw::Distance(frames({4, 1, 2, 2, 3}), a), 2.0f / 10);
    EXPECT_TRUE(std::isinf(Dtw::Distance(a, Mfcc::Frames{})));
}
