#pragma once
// The Qt 6 Widgets backend of quill, for hosts: include this one header.
//
//   quill::qt::QtApplication app(argc, argv);  // a QApplication that survives exceptions
//   quill::qt::QtApplicationServices& services = quill::qt::InstallPlatform();
//   services.SetStatusBar(mainWindow.statusBar());
//   auto* editor = new quill::qt::EditorWidget(std::make_unique<MyView>(), &mainWindow);
//   editor->InitialUpdate();
//
// EditorWidget hosts one QuillView; EditorSplitter holds several panes of one document;
// QtDialogHost lets a dialog's behaviour drive real controls by id.
// Bytes of the buffer are shown and exchanged as Windows-1252 (qt/cp1252.h).

#include "qt/cp1252.h"
#include "qt/editor_splitter.h"
#include "qt/editor_widget.h"
#include "qt/qt_application.h"
#include "qt/qt_common_dialogs.h"
#include "qt/qt_dialog_builder.h"
#include "qt/qt_dialog_host.h"
#include "qt/qt_platform.h"
#include "qt/qt_sheet_runner.h"
