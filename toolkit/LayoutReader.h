// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Builds a form from its layout file (JSON in the program's resources):
//
//   { "name": "Form7", "properties": { "Caption": "...", "ClientWidth": 690, ... },
//     "events": { "OnCreate": "FormCreate" },
//     "controls": [ { "class": "TBitBtn", "name": "BitBtn1", "bounds": [320, 88, 97, 25],
//                     "tab": 5, "cursor": "crHandPoint", "properties": { "Caption": "<-- Load" },
//                     "events": { "OnClick": "BitBtn1Click" }, "controls": [ ... ] } ],
//     "menu": { "name": "MainMenu1", "items": [ { "name": "File1", "Caption": "&File",
//               "items": [ { "name": "New1", "Caption": "&New", "ShortCut": 16462,
//                            "events": { "OnClick": "New1Click" } } ] } ] },
//     "components": [ { "class": "TOpenDialog", "name": "OpenDialog1", "properties": {...} } ] }
//
// Controls are created in file order, which is their creation and stacking order. Property
// names are the components' Q_PROPERTY names; colours may be given by name ("clSkyBlue"). An
// unknown class, property or event, or a handler the form does not have, is an error.
#include <QJsonObject>
#include <QString>
#include <vector>

class QWidget;
class TForm;

class LayoutReader {
public:
    explicit LayoutReader(TForm* form) : FForm(form) {}
    void Read(const QString& resourcePath);

private:
    void ReadControl(const QJsonObject& entry, QWidget* parent);
    void ReadComponent(const QJsonObject& entry);
    void ReadMenu(const QJsonObject& menu);
    void SetProperties(QObject* target, const QJsonObject& properties);
    void BindEvents(QObject* target, const QJsonObject& events);
    void ApplyTabOrder();

    struct TabEntry {
        QWidget* parent;
        int tab;
        QWidget* control;
    };
    TForm* FForm;
    std::vector<TabEntry> FTabs;
};
