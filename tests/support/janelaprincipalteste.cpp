#include "janelaprincipalteste.h"

#include "support/files.h"

#include <QTimer>

JanelaPrincipalTeste::JanelaPrincipalTeste(std::unique_ptr<FakePlatform> plataforma)
    : m_plataforma(std::move(plataforma))
    , fake(*m_plataforma)
{
}

Tfrm_agenda &JanelaPrincipalTeste::Abre(const OpcoesJanela &opcoes)
{
    if (opcoes.agora)
        fake.agora = *opcoes.agora;
    if (opcoes.indice)
        GravaArquivo(fake.Caminho(QStringLiteral("AGENDA.AGD")), *opcoes.indice);
    janela = std::make_unique<Tfrm_agenda>();
    if (opcoes.comAviso) {
        mostra = std::make_unique<Tform_mostra>();
        janela->LigaFormMostra(mostra.get());
    }
    switch (opcoes.inicio) {
    case InicioJanela::Construida:
        break;
    case InicioJanela::Listada:
        janela->FormShow(janela.get());
        break;
    case InicioJanela::Mostrada:
        janela->show();
        break;
    }
    return *janela;
}

void JanelaPrincipalTeste::Tique(int hora, int minuto, int segundo)
{
    Tique(QDateTime(fake.agora.date(), QTime(hora, minuto, segundo)));
}

void JanelaPrincipalTeste::Tique(const QDateTime &quando)
{
    fake.agora = quando;
    janela->Timer1Timer(janela->Timer1);
}
