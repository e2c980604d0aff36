// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The standard file-open dialog as a non-visual component. Filter holds description|mask pairs
// ("Rich Text Format|*.rtf|Text Files|*.txt", several masks joined by ";"); FilterIndex (from 1)
// picks the one preselected. FileName and InitialDir are program paths (C:\dir\name.ext).
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/TComponent.h"

class TOpenDialog : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)
    Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)

public:
    explicit TOpenDialog(QObject* parent = nullptr);

    QString Title() const { return FTitle; }
    void SetTitle(const QString& title) { FTitle = title; }
    QString Filter() const { return FFilter; }
    void SetFilter(const QString& filter) { FFilter = filter; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int index) { FFilterIndex = index; }
    // Extension without the dot ("RTF") for a chosen name that has none.
    QString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const QString& ext) { FDefaultExt = ext; }
    QString FileName() const { return FFileName; }
    void SetFileName(const QString& name) { FFileName = name; }
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& dir) { FInitialDir = dir; }

    // Shows the dialog modally. True when the user chose a file: FileName then holds it and
    // FilterIndex the filter in use. False when cancelled; FileName is left as it was.
    bool Execute();

    // Answers Execute without a window (tests, scripted runs): returns the Linux path the user
    // would have chosen, or nothing for Cancel. The chosen path then goes through the same
    // default-extension rule and conversion to a program path as a real answer.
    static inline std::function<std::optional<std::string>(TOpenDialog&)> ExecuteHook;

    // The description|mask pairs of a filter string; a trailing description without a mask is
    // left out.
    static std::vector<std::pair<QString, QString>> FilterPairs(const QString& filter);
    // The filter as the file dialog takes it: "Description (*.rtf *.txt)"; "*.*" becomes "*",
    // which is what it means here: every file. The dialog shows only the description.
    static QStringList NameFilters(const QString& filter);

protected:
    // The dialog's answer made final: the default extension rule of this kind of dialog.
    virtual std::string CompleteName(const std::string& systemPath) const;
    virtual bool IsSaveDialog() const { return false; }

private:
    std::optional<std::string> RunFileDialog();

    QString FTitle;
    QString FFilter;
    int FFilterIndex = 1;
    QString FDefaultExt;
    QString FFileName;
    QString FInitialDir;
};
