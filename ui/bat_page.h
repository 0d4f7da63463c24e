#pragma once

class QWidget;
class TfMain;

// Builds the page tsBat "Мочильня" of the window.
QWidget* BuildBatPage(TfMain& window);
