#include "window/accessibility.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>

namespace quilvane {

namespace {

// What a screen reader gets for a single-line box: the box's text and state as Qt's own line
// edit interface gives them, with text queries that answer at every offset. The segment
// queries find their segment among the text's boundaries directly, so they end at the end
// of the text as anywhere else; the attributes form one run over the whole text.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }

    // QAccessibleInterface
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Value) {
            QString s = QAccessibleWidget::text(t);
            if (t == QAccessible::Description && s.isEmpty()) s = edit()->toolTip();
            return s;
        }
        switch (edit()->echoMode()) {
        case QLineEdit::Normal: return edit()->text();
        case QLineEdit::NoEcho: return QString();
        default: return edit()->displayText();
        }
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        QString fixed = text;
        int position = 0;
        if (const QValidator* v = edit()->validator(); v && v->validate(fixed, position) != QValidator::Acceptable)
            return;
        edit()->setText(fixed);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !edit()->isReadOnly();
        s.readOnly = edit()->isReadOnly();
        s.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
        s.selectableText = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // QAccessibleTextInterface
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !edit()->hasSelectedText()) return;
        *start = edit()->selectionStart();
        *end = *start + static_cast<int>(edit()->selectedText().size());
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int start, int end) const override {
        if (start > end || edit()->echoMode() != QLineEdit::Normal) return QString();
        return edit()->text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(edit()->text().size()); }
    QRect characterRect(int offset) const override {
        const QString all = edit()->text();
        if (offset < 0 || offset >= all.size() || edit()->echoMode() != QLineEdit::Normal) return QRect();
        // Where the box draws it: left-aligned in the style's text area, as long as the text
        // fits the box; past that the box scrolls and the place is an estimate.
        QStyleOptionFrame option;
        option.initFrom(edit());
        const QRect area = edit()->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit())
                               .marginsRemoved(edit()->textMargins());
        const QFontMetrics metrics(edit()->font());
        const int x = area.left() + 2 + metrics.horizontalAdvance(all.left(offset));
        const int y = area.top() + (area.height() - metrics.height()) / 2;
        return QRect(edit()->mapToGlobal(QPoint(x, y)), QSize(metrics.horizontalAdvance(all.mid(offset, 1)), metrics.height()));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override {
        edit()->setCursorPosition(end);
        edit()->setCursorPosition(start);
    }
    QString attributes(int offset, int* start, int* end) const override {
        // A box has no text attributes: one run, empty, over the whole text.
        const int count = characterCount();
        if (offset == -1) offset = count;
        if (offset < 0 || offset > count) {
            *start = *end = -1;
            return QString();
        }
        *start = 0;
        *end = count;
        return QString();
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return Segment(offset, type, -1, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return Segment(offset, type, 0, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return Segment(offset, type, 1, start, end);
    }

    // QAccessibleEditableTextInterface
    void deleteText(int start, int end) override { edit()->setText(edit()->text().remove(start, end - start)); }
    void insertText(int offset, const QString& text) override { edit()->setText(edit()->text().insert(offset, text)); }
    void replaceText(int start, int end, const QString& text) override {
        edit()->setText(edit()->text().replace(start, end - start, text));
    }

private:
    // The segment of the given kind that holds offset (step 0), or the one before (-1) or
    // after (+1) it. The end of the text belongs to the last segment. Where there is none,
    // the empty text at the near end; -1 for both ends where the offset is outside the text.
    QString Segment(int offset, QAccessible::TextBoundaryType type, int step, int* start, int* end) const {
        *start = *end = -1;
        if (edit()->echoMode() != QLineEdit::Normal) return QString();
        const QString all = edit()->text();
        const int count = static_cast<int>(all.size());
        if (offset == -2) offset = cursorPosition();
        if (offset == -1) offset = count;
        if (offset < 0 || offset > count) return QString();

        // The boundaries of the text for the kind asked for, 0 and count included.
        QList<int> bounds;
        if (type == QAccessible::CharBoundary || type == QAccessible::WordBoundary ||
            type == QAccessible::SentenceBoundary) {
            const auto kind = type == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                              : type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                  : QTextBoundaryFinder::Sentence;
            QTextBoundaryFinder finder(kind, all);
            bounds << 0;
            for (qsizetype at; (at = finder.toNextBoundary()) > 0 && at <= count;)
                if (at > bounds.last()) bounds << static_cast<int>(at);
            if (bounds.last() != count) bounds << count;
        } else {
            bounds << 0 << count;  // one line, one paragraph
        }
        const int segments = static_cast<int>(bounds.size()) - 1;
        if (segments <= 0) {
            *start = *end = 0;
            return QString();
        }
        // The segment holding offset; at the end of the text the last one, except that no
        // character stands at the end.
        int at = 0;
        while (at + 1 < segments && bounds[at + 1] <= offset) ++at;
        if (offset == count && type == QAccessible::CharBoundary) at = segments;
        const int wanted = at + step;
        if (wanted < 0 || wanted >= segments) {
            *start = *end = wanted < 0 ? 0 : count;
            return QString();
        }
        *start = bounds[wanted];
        *end = bounds[wanted + 1];
        return all.mid(*start, *end - *start);
    }
};

constexpr const char* kAnnouncer = "announcer";

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    if (className == QLatin1String("QLineEdit"))
        if (auto* edit = qobject_cast<QLineEdit*>(object)) return new LineEditAccessible(edit);
    // Screen readers speak a notification that appears. (Qt 6.4 sends no text with a name or
    // description change, so a change on the focused button cannot carry it.)
    if (className == QLatin1String("QWidget") && object->objectName() == QLatin1String(kAnnouncer))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    QAccessible::installFactory(Factory);
}

QWidget* MakeAnnouncer(QWidget* parent) {
    auto* announcer = new QWidget(parent);
    announcer->setObjectName(QLatin1String(kAnnouncer));
    announcer->setGeometry(0, 0, 0, 0);
    announcer->setFocusPolicy(Qt::NoFocus);
    announcer->hide();
    return announcer;
}

void Announce(QWidget* announcer, const QString& text) {
    announcer->hide();
    announcer->setAccessibleName(text);
    announcer->show();
}

}  // namespace quilvane
