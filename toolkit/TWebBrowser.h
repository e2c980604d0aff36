// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The embedded web browser: shows the page at an address (a local file's URL or a path) with
// its pictures and links, follows links within local pages, and shows its own error page when
// an address cannot be reached.
#include <QTextBrowser>
#include <QUrl>

#include "toolkit/TComponent.h"

class TWebBrowser : public QTextBrowser, public TComponent {
    Q_OBJECT

public:
    explicit TWebBrowser(QWidget* parent = nullptr);

    // Starts showing the page at `address`. Only local files can be reached; anything else, or a
    // file that cannot be read, shows the error page naming the address. As a browser does, the
    // page loads behind the call: during the program's start, once the main window is on the
    // screen; at once after that, and at once when the browser is shown before it has loaded.
    void Navigate(const QString& address);
    // The address last navigated to, and whether its page could be shown.
    QUrl LocationURL() const { return FLocation; }
    bool PageShown() const { return FPageShown; }

protected:
    // Pages and their pictures come from local files only.
    QVariant loadResource(int type, const QUrl& name) override;
    void showEvent(QShowEvent* event) override;

private:
    // Shows the page (or the error page) that the last navigation asked for, if not yet shown.
    void LoadPending();
    void ShowErrorPage(const QUrl& address);

    QUrl FLocation;
    bool FPageShown = false;
    bool FLoadPending = false;
};
