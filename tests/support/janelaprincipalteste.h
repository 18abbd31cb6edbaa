#pragma once

#include "app/uconsulta.h"
#include "support/fakeplatform.h"
#include "windows/umostra.h"

#include <QByteArray>
#include <QDateTime>

#include <memory>
#include <optional>

// How far the main window gets before the test takes over.
enum class InicioJanela {
    Construida, // built: the message folder made, nothing listed yet
    Listada, // the first showing's work done (the day listed), with no window on the screen
    Mostrada, // shown, as the program starts it
};

// What the test sets before the main window starts.
struct OpcoesJanela
{
    // The clock when the window starts; the fake desktop's own otherwise.
    std::optional<QDateTime> agora = std::nullopt;
    // Written as AGENDA.AGD before the window reads it; no index file otherwise.
    std::optional<QByteArray> indice = std::nullopt;
    // The alert window linked to the main one, as the program links them.
    bool comAviso = false;
    InicioJanela inicio = InicioJanela::Mostrada;
};

// The main window over a fake desktop in a fresh temporary folder, set up the ways its tests
// need. Two steps: the fixture installs the fake desktop, whose clock and folder a test may
// set and fill first; Abre() then builds the window, which reads them as it starts.
class JanelaPrincipalTeste
{
    // Declared first: installed before the windows are built, removed after they are gone.
    std::unique_ptr<FakePlatform> m_plataforma;

public:
    // A desktop of the test's own kind may stand in for the plain fake one.
    explicit JanelaPrincipalTeste(std::unique_ptr<FakePlatform> plataforma = std::make_unique<FakePlatform>());

    Tfrm_agenda &Abre(const OpcoesJanela &opcoes = {});
    // The alarm's tick at that time of the clock's day, or at that moment.
    void Tique(int hora, int minuto, int segundo);
    void Tique(const QDateTime &quando);

    FakePlatform &fake;
    std::unique_ptr<Tfrm_agenda> janela;
    // Only with OpcoesJanela::comAviso.
    std::unique_ptr<Tform_mostra> mostra;
};
