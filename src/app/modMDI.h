// The book of the main window's child windows: at most one window of each of eight kinds (the
// seven diagram windows and the results window), each in a numbered slot 1..10 with one tab in
// the main window's tab strip, the tab selection kept in step with the active window.
#pragma once

#include "analysis/ProgramState.h"
#include "app/ShellSinks.h"

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QMdiArea;
class QTabBar;

namespace kradon {

class FilePicker;

/// The window kinds, by kind index (the diagram buttons' order); the caption is also the key of
/// the window's tab.
enum ChildKind : std::int16_t {
    IdealisedBeamKind = 0,
    MeshKind = 1,
    BendingMomentKind = 2,
    ShearForceKind = 3,
    DeflectedShapeKind = 4,
    EValueKind = 5,
    IValueKind = 6,
    ResultsKind = 7,
};
inline constexpr std::array<const char*, 8> ChildCaptions = {
    "Idealised Beam",          "Kradon Mesh",       "Bending Moment Diagram", "Shear Force Diagram",
    "Deflected Shape Diagram", "E-value Variation", "I-value Variation",      "Results"};

inline constexpr const char* SelectAgainText = "Please select again";
inline constexpr const char* OopsText = "Oops";
inline constexpr const char* MdiTitle = "MDI Subroutine";
inline constexpr const char* TabErrorText = "doTabCaption() Error";
inline constexpr const char* CloseErrorText = "Cannot close window";

/// Cascaded windows lie this many pixels down and right of the one below them, enough to show
/// the title bar beneath.
inline constexpr int CascadeStep = 28;
/// The least size the cascade leaves a window, where the area is as large.
inline constexpr QSize MinCascadeSize(480, 320);

/// The places of count cascaded windows in an area of size room, bottom of the stack first: each
/// a step down and right of the one before, all as large as the area allows with the steps.
/// Where the steps would leave a window less than MinCascadeSize, the cascade starts again from
/// the top-left corner.
std::vector<QRect> CascadePlaces(QSize room, int count);

/// The frame of one child window inside the main window. Closing it runs the book's unload step
/// for its slot before the frame goes.
class ChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    ChildWindow(std::int16_t slot, QWidget* parent = nullptr);
    std::int16_t slot() const { return slot_; }
    /// The caption of the window's kind: the key of its tab. The title shown may add to it.
    const QString& caption() const { return caption_; }
    /// Sets the caption and shows it as the title.
    void setCaption(const QString& caption);

signals:
    /// The window is about to go: the book frees its slot.
    void unloading(std::int16_t slot);
    /// The window has gone and the next one has been activated.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::int16_t slot_;
    QString caption_;
};

class modMDI : public QObject {
    Q_OBJECT
public:
    /// Slots are numbered 1..MaxSlots; slot 0 is never used.
    static constexpr std::int16_t MaxSlots = 10;

    /// state holds the model the idealised beam shows; shown the tables every other child
    /// window shows.
    modMDI(QMdiArea& area, QTabBar& tabs, ProgramState& state, ProgramState& shown,
           ShellSink& messages, FilePicker& files, QWidget* mainWindow);

    /// Opens the window of kind index 0..7, or brings it forward when it is open; any other
    /// index shows "Please select again".
    void ShowGraph(std::int16_t index);
    /// "All" closes every child window; any other text closes the window in slot.
    void CloseChild(const QString& which, std::int16_t slot = 0);
    /// Marks the kind with this caption closed; an unknown caption shows "Oops".
    void ClearOpenFlag(const QString& caption);
    /// Gives the open window with this caption the focus.
    void ActivateByCaption(const QString& caption);
    /// Adds the tab of the window in slot at the end of the strip and selects it.
    void AddTab(std::int16_t slot);
    /// Brings forward the window whose caption is the selected tab's.
    void TabClick();
    void OpenGraphWindow(std::int16_t index, const QString& caption);
    void OpenResultsWindow(const QString& caption);
    /// Cascades the child windows that are not minimised, keeping their stacking order.
    void Cascade();

    /// The window in slot, or nullptr for an empty slot or a slot outside 1..10.
    ChildWindow* child(std::int16_t slot) const;
    /// The open window of a kind, or nullptr.
    ChildWindow* childOfKind(std::int16_t kind) const;

    std::array<bool, 8> GraphOpen{};
    std::array<QPointer<ChildWindow>, MaxSlots + 1> ChildForms{};
    std::array<bool, MaxSlots + 1> SlotUsed{};
    std::int16_t TabCount = 0;
    std::int16_t WindowsOpened = 0;
    std::int16_t GraphIndex = 0;
    bool ChildUnloaded = false;
    bool SkipTabSync = false;

signals:
    /// A child window's content was created, before it is shown.
    void childCreated(QWidget* content);

private:
    void childActivated(QMdiSubWindow* window);
    void childUnloading(std::int16_t slot);
    void childUnloaded();
    std::int16_t lowestFreeSlot() const;
    void takeSlot(std::int16_t slot, QWidget* content, const QString& caption);
    int tabIndexOfKey(const QString& key) const;

    QMdiArea& area_;
    QTabBar& tabs_;
    ProgramState& state_;
    ProgramState& shown_;
    ShellSink& messages_;
    FilePicker& files_;
    QWidget* mainWindow_;
};

} // namespace kradon
