#pragma once

#include <QWidget>

// One to three stars for the pupil's last reading of the shown word; blank
// without a rating. A screen reader hears the count ("3颗星").
class StarRating : public QWidget {
public:
    static constexpr int kMost = 3;

    explicit StarRating(QWidget* parent);

    void SetStars(int stars);
    int Stars() const { return stars_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int stars_ = 0;
};
