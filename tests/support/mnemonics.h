#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

// The keyboard mnemonics (Alt and a letter) of a window, for tests that want each of them to
// lead to one place. The window's own scope holds its buttons and check boxes, labels with a
// buddy, group boxes, tabs and the menu bar's menus; each menu's items are a scope of their own.
namespace mnemonics {

// The letter after a single '&' of a caption, upper case ("&&" is an ampersand); none: a null QChar.
inline QChar of(const QString &caption)
{
    const QKeySequence key = QKeySequence::mnemonic(caption);
    return key.isEmpty() ? QChar() : QChar(char16_t(key[0].key()));
}

// Mnemonic letter -> the captions that use it, in one scope.
using Scope = QMultiMap<QChar, QString>;

inline void add(Scope &scope, const QString &caption)
{
    if (const QChar letter = of(caption); !letter.isNull())
        scope.insert(letter, caption);
}

inline void addMenu(QMap<QString, Scope> &scopes, const QMenu *menu, const QString &path)
{
    Scope &items = scopes[path];
    for (const QAction *action : menu->actions()) {
        add(items, action->text());
        if (const QMenu *sub = action->menu())
            addMenu(scopes, sub, path + QStringLiteral(" > ") + action->text());
    }
}

// Every scope of the window by name ("venster", or the menu's path), with its mnemonics.
inline QMap<QString, Scope> scopes(const QWidget *window)
{
    QMap<QString, Scope> found;
    Scope &own = found[QStringLiteral("venster")];
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() != window)
            continue; // a dialog of its own
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            add(own, button->text());
        else if (const auto *label = qobject_cast<const QLabel *>(widget); label && label->buddy())
            add(own, label->text());
        else if (const auto *group = qobject_cast<const QGroupBox *>(widget))
            add(own, group->title());
        else if (const auto *tabs = qobject_cast<const QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                add(own, tabs->tabText(i));
        } else if (const auto *bar = qobject_cast<const QMenuBar *>(widget)) {
            for (const QAction *action : bar->actions()) {
                add(own, action->text());
                if (const QMenu *menu = action->menu())
                    addMenu(found, menu, action->text());
            }
        }
    }
    return found;
}

// The mnemonics used more than once in a scope, as "scope: Alt+W: caption | caption" (the
// captions sorted); empty when each leads to one place.
inline QStringList duplicates(const QWidget *window)
{
    QStringList twice;
    const QMap<QString, Scope> all = scopes(window);
    for (auto scope = all.cbegin(); scope != all.cend(); ++scope) {
        for (const QChar letter : scope->uniqueKeys()) {
            QStringList captions = scope->values(letter);
            captions.sort();
            if (captions.size() > 1)
                twice << QStringLiteral("%1: Alt+%2: %3").arg(scope.key(), letter, captions.join(" | "));
        }
    }
    return twice;
}

} // namespace mnemonics
