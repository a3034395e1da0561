#pragma once

#include <QFrame>
#include <QString>
#include <array>
#include <cstdint>

class QLineEdit;

namespace quillo::ui {

// An IPv4 address entry: four fields of 0 to 255 between dots. Every keystroke updates the
// address at once; releasing a key (Tab excepted) in any field emits keyUp() after that field's
// change is applied. Tab and Shift+Tab walk the fields, then leave the entry.
class IpAddressEdit : public QFrame {
    Q_OBJECT

public:
    explicit IpAddressEdit(QWidget* parent = nullptr);

    // The address with octet 1 in the most significant byte; an empty field counts as 0.
    std::uint32_t address() const;
    // Octet n, 1 (leftmost) to 4.
    int octet(int n) const;
    // Stores the value (limited to 0..255) and shows it; writing the value the octet already
    // has changes nothing, not even an empty field's look.
    void setOctet(int n, int value);
    // Blanks around the text are dropped; the text is cut at its first three dots into four
    // parts, each read as a decimal number (0 when it is not one) and written as by setOctet.
    void setText(const QString& dotted);
    // "%d.%d.%d.%d".
    QString text() const;

    // The four fields, leftmost first (for the window's tab order).
    const std::array<QLineEdit*, 4>& fields() const { return fields_; }

signals:
    void keyUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The frame is drawn in the highlight colour while a field has the focus, as a line edit's.
    void paintEvent(QPaintEvent* event) override;

private:
    void fieldEdited(int index);
    void applyColours();

    std::array<QLineEdit*, 4> fields_{};
    std::array<int, 4> octets_{};
};

}  // namespace quillo::ui
