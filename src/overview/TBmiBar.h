// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <optional>

// The adult BMI bands as one coloured bar from thin (blue) over normal (green) to obese (orange
// to red), their edges marked below, and a marker at the user's BMI.
class TBmiBar : public QWidget {
    Q_OBJECT
public:
    // The part of the BMI scale the bar covers.
    static constexpr double Lowest = 14.0;
    static constexpr double Highest = 44.0;

    explicit TBmiBar(QWidget* parent = nullptr);
    void SetBmi(std::optional<double> bmi);
    std::optional<double> Value() const { return bmi_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<double> bmi_;
};
