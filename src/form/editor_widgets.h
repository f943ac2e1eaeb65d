#pragma once

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QString>

#include <string_view>

// The small controls the output editors are built from: entry boxes that act on Enter or
// when the user leaves them, option labels that step on a click, and drag handles.
namespace telmora {

// Colours of the option labels and handles (red, green, blue).
inline const QColor kEditorRed(255, 0, 0);
inline const QColor kEditorGreen(0, 255, 0);
inline const QColor kEditorYellow(255, 255, 0);
inline const QColor kEditorCyan(0, 255, 255);
inline const QColor kEditorMagenta(255, 0, 255);
inline const QColor kEditorOrange(255, 128, 0);

// A caption of the option table (UTF-8) as a widget's text.
inline QString Qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A menu caption with `key` (the first letter equal to it, either case) marked as its
// access key; a caption without that letter is returned as it is.
QString WithAccessKey(const QString& caption, QChar key);

// Fills a label's background with `colour`.
void SetBackground(QLabel* label, QColor colour);
// The background a label was given with SetBackground.
QColor Background(const QLabel* label);

// A text box that reports Enter (either Enter key) and the user leaving it. Leaving only
// counts when the focus moves inside the window: switching to another program or opening
// a menu leaves the entry as it is.
class EntryBox : public QLineEdit {
    Q_OBJECT
  public:
    EntryBox(QWidget* parent, const QString& name, const QString& accessibleName,
             const QString& toolTip);

  signals:
    void Entered();
    void FocusLeft();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// A label that holds an option as its caption on a state colour and steps on a click of
// the left button, or on Space or Enter when it has the keyboard focus (Tab reaches it; a
// frame marks the focus). Its accessible name carries the caption, so a screen reader
// speaks the option with the state ("Switch 1 mode: Hyst").
class OptionLabel : public QLabel {
    Q_OBJECT
  public:
    OptionLabel(QWidget* parent, const QString& name, const QString& accessiblePrefix,
                const QString& toolTip);

    // `meaning` explains a short caption in the tooltip, below what a click does.
    void Show(const QString& caption, QColor colour, const QString& meaning = {});

  signals:
    void Clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QString prefix_;
    QString toolTip_;
    bool leftPressed_ = false;
};

// A coloured strip the user drags with the mouse. While a button is held, Qt delivers the
// moves to the strip the button went down on, in its own coordinates, also when the pointer
// has left it.
//
// Two strips meeting at a value form a pair; the first leads it on the keyboard: Tab
// reaches it (a mouse click does not take the focus, so a box being typed in keeps it), a
// frame marks both strips while it has the focus (either may have shrunk to nothing), the
// arrow keys step the value and Shift+F10 or the menu key asks for the pair's pop-up.
class HandleLabel : public QLabel {
    Q_OBJECT
  public:
    HandleLabel(QWidget* parent, const QString& name, const QString& accessibleName,
                const QString& toolTip);

    // Makes this strip the keyboard's way into the pair it forms with `second`; Tab reaches
    // it right after `box`, which shows the pair's value.
    void LeadPair(HandleLabel* second, QWidget* box);

    // Where a pop-up asked for from the keyboard opens: the meeting point of the pair, on
    // the screen.
    QPoint MenuPosition() const;

  signals:
    void Pressed(Qt::MouseButton button, QPoint globalPosition);
    void Moved(QPointF position); // logical pixels, relative to this handle
    void Released(Qt::MouseButton button);
    // An arrow key: +1 for Right or Up, -1 for Left or Down, ten times that with Shift.
    void Stepped(int steps);
    // Shift+F10 or the menu key: the pair's pop-up, to open at MenuPosition().
    void MenuAsked(QPoint globalPosition);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    HandleLabel* second_ = nullptr;
};

// A caption label ("inches", "Mode") whose accessible name is its caption.
QLabel* MakeCaption(QWidget* parent, const QString& name, const QString& caption,
                    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

} // namespace telmora
