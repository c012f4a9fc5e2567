// The progress window.
#include "app/frmStatus.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

namespace kradon {

inline constexpr const char* StatusCaption = "Execution Progress";
inline constexpr const char* CalculatingText = "Calculating.....";

frmStatus::frmStatus(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setObjectName("frmStatus");
    setWindowTitle(StatusCaption);
    pBar = new QProgressBar(this);
    pBar->setObjectName("pBar");
    pBar->setRange(0, 100);
    pBar->setValue(0);
    StatLbl = new QLabel(StatusCaption, this);
    StatLbl->setObjectName("StatLbl");
    StatusTxt = new QPlainTextEdit(this);
    StatusTxt->setObjectName("StatusTxt");
    StatusTxt->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StatLbl);
    layout->addWidget(pBar);
    layout->addWidget(StatusTxt);
    resize(360, 240);
}

void frmStatus::udPb(double percent) {
    pBar->setValue(static_cast<int>(percent));
    const auto whole = static_cast<long long>(std::trunc(percent));
    StatLbl->setText(QString(CalculatingText) + QString::number(whole) + "%");
    QCoreApplication::processEvents();
    // A tool window shown without a place of its own lands where the window system likes,
    // often the screen's corner.
    if (!isVisible())
        centreOverOwner();
    show();
}

void frmStatus::centreOverOwner() {
    const QWidget* owner = parentWidget();
    if (owner == nullptr)
        return;
    const QRect frame = frameGeometry();
    move(owner->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void frmStatus::udTxt(const std::string& text) {
    StatusTxt->appendPlainText(QString::fromStdString(text));
}

void frmStatus::clearLog() {
    StatusTxt->clear();
}

DelayedProgress::DelayedProgress(frmStatus& window, std::chrono::milliseconds delay,
                                 std::function<void()> beforeShowing)
    : window_(window), start_(std::chrono::steady_clock::now()), delay_(delay),
      beforeShowing_(std::move(beforeShowing)) {}

bool DelayedProgress::showing() {
    if (shown_)
        return true;
    if (std::chrono::steady_clock::now() - start_ < delay_)
        return false;
    shown_ = true;
    beforeShowing_();
    window_.clearLog();
    for (const std::string& line : lines_)
        window_.udTxt(line);
    return true;
}

void DelayedProgress::udPb(double percent) {
    if (showing())
        window_.udPb(percent);
}

void DelayedProgress::udTxt(const std::string& text) {
    if (showing())
        window_.udTxt(text);
    else
        lines_.push_back(text);
}

} // namespace kradon
