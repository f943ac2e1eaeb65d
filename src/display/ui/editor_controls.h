#pragma once

class QLabel;
class QLineEdit;
class QWidget;

namespace telmora {

class OutputEditors;

// The output editors' controls that the gauges and the print command read: the range bar,
// the maximum range box, the analog editor's four boxes and its echo-loss option. The window
// hands them over once, when it builds the display; a null one is simply not read.
struct EditorControls {
    QWidget* lblRange = nullptr;
    QLineEdit* txtMaxRange = nullptr;
    QLineEdit* txtAnalogNearEndpoint = nullptr;
    QLineEdit* txtAnalogFarEndpoint = nullptr;
    QLineEdit* txtAnalogNearOutput = nullptr;
    QLineEdit* txtAnalogFarOutput = nullptr;
    QLabel* lblAnalogEchoLoss = nullptr;
};

// Those controls of `editors`.
EditorControls EditorControlsOf(OutputEditors& editors);

} // namespace telmora
