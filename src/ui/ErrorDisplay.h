#pragma once
// The general error display and the guards that lead failures to it.

#include "data/Connection.h"

#include <QString>
#include <exception>
#include <functional>
#include <type_traits>

/// The application's title, as the general error display shows it.
///
///     applicationTitle()   // "Тальвира"
QString applicationTitle();

/// Shows a failure that no handler caught: an error box titled with the
/// application's title, the failure's text with a full stop appended when it
/// ends in a letter or digit, button OK. The program goes on.
void ShowException(const std::exception& error);

/// The text the general error display shows for a failure text.
///
///     generalErrorText("Invalid hash string")   // "Invalid hash string."
QString generalErrorText(const QString& text);

/// Runs a handler as one user action (a lost connection is tried again once
/// within it); a failure it does not catch reaches the general error display.
///
///     connect(ui->BitBtn2, &QPushButton::clicked, this, [this] { runHandler([this] { BitBtn2Click(); }); });
template <class F>
void runHandler(F&& handler)
{
    TUserAction action;
    try {
        handler();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

/// Wraps a handler for connect(): a callable that runs it, with the signal's
/// arguments, through runHandler.
///
///     connect(button, &QPushButton::clicked, this, handler([this] { N2Click(); }));
///     connect(grid, &TDBGrid::TitleClick, this, handler([this](const QString& f) { DBGrid1TitleClick(f); }));
template <class F>
auto handler(F f)
{
    return [f](auto&&... args) {
        runHandler([&] {
            // a handler that takes none of the signal's arguments is called without them
            if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
                f(args...);
            else
                f();
        });
    };
}

/// A guarded database write: a failure shows "Ошибка записи в БД" (error box,
/// OK) and ends the action. Returns whether the write went through. A lost
/// connection (EConnectionLost) is not caught: it ends the whole action, so
/// that a loop of writes stops at the first one that could not be sent.
///
///     if (!guardedWrite([&] { DataZRT->UPDpassingScoreReg->ExecSQL(); })) return;
bool guardedWrite(const std::function<void()>& write);
