// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TWebBrowser.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>

#include "toolkit/TApplication.h"

TWebBrowser::TWebBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        SafeCall([&] {
            const QUrl target = source().resolved(link);
            if (target.isLocalFile()) {
                Navigate(target.toString());
            } else if (link.hasFragment() && link.path().isEmpty()) {
                scrollToAnchor(link.fragment());
            } else {
                QDesktopServices::openUrl(target);  // pages on the web open in the user's browser
            }
        });
    });
}

void TWebBrowser::Navigate(const QString& address) {
    QUrl url = QUrl(address);
    if (url.isRelative() || url.scheme().size() == 1)  // a plain path, or a drive letter
        url = QUrl::fromLocalFile(address);
    FLocation = url;
    const QFileInfo file(url.toLocalFile());
    FPageShown = url.isLocalFile() && file.isFile() && file.isReadable();
    const bool queued = FLoadPending;
    FLoadPending = true;
    if (!Application) {
        LoadPending();
    } else if (!queued) {
        Application->AfterFirstPaint([self = QPointer<TWebBrowser>(this)] {
            if (self) self->LoadPending();
        });
    }
}

void TWebBrowser::LoadPending() {
    if (!FLoadPending) return;
    FLoadPending = false;
    if (!FPageShown) {
        ShowErrorPage(FLocation);
        return;
    }
    setSource(FLocation);
    if (FLocation.hasFragment()) scrollToAnchor(FLocation.fragment());
}

void TWebBrowser::showEvent(QShowEvent* event) {
    LoadPending();
    QTextBrowser::showEvent(event);
}

QVariant TWebBrowser::loadResource(int type, const QUrl& name) {
    if (!name.isLocalFile() && !name.isRelative()) return {};
    return QTextBrowser::loadResource(type, name);
}

void TWebBrowser::ShowErrorPage(const QUrl& address) {
    const QString shown = address.toString().toHtmlEscaped();
    setHtml(QStringLiteral("<h2>This page cannot be displayed</h2>"
                           "<p>The page at <b>%1</b> could not be found or could not be read.</p>"
                           "<p>Check that the address is right and that the file is where the "
                           "address says.</p>")
                .arg(shown));
}
