#pragma once

#include "controls/traybackend.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QWindow>

#include <optional>
#include <vector>

class QDBusServiceWatcher;
class QMenu;
class QWidget;
class TItemStatusNotifier;

// The activities one activation of the icon stands for. An XEmbed tray reports whole clicks,
// each turned back into its press and release. A StatusNotifier (D-Bus) panel reports one
// activation per click and never a double click: its activation is the user's way back, so it
// counts as the double click it is on an XEmbed tray, unless it follows (`seguida`) another
// within the double-click interval.
std::vector<quintptr> AtividadesDaAtivacao(QSystemTrayIcon::ActivationReason motivo, bool statusNotifier, bool seguida);

// The real desktop. Wherever a StatusNotifier panel is (its watcher with a host on the session
// bus), the icon is the program's own item there; otherwise, on X, QSystemTrayIcon puts it in an
// XEmbed tray. It follows the panels as they come and go, and is never in both. Qt reports
// whole clicks and a panel whole activations, so each is turned back into the press and
// release the component expects.
class TQtTrayBackend : public QObject, public TTrayBackend, private QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit TQtTrayBackend(QWidget *janelaPrincipal);
    ~TQtTrayBackend() override;

    void Adiciona(const TNotifyIconData &registro) override;
    void Modifica(const TNotifyIconData &registro) override;
    void Remove(const TNotifyIconData &registro) override;
    QPoint PosicaoCursor() override;
    TShiftState EstadoTeclado() override;
    void ProcessaMensagens() override;
    void MostraMenu(QMenu *menu, const QPoint &posicao) override;
    void OcultaAplicacao() override;
    bool AreaDisponivel() override;
    void PublicaMenu(QMenu *menu) override;

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private slots:
    // A panel's watcher or host came or went.
    void PainelMudou();

private:
    bool nativeEventFilter(const QByteArray &tipo, void *mensagem, qintptr *resultado) override;
    void VigiaX(bool ligado);
    void OuveSessao(bool ligado);
    void MostraSePuder();
    bool TemHospede();
    bool BandejaXEmbedPronta();
    bool VaiParaPainel();
    void VaiParaBandeja();
    void TiraDoPainel();
    void TiraDaBandeja();
    void Ativado(QSystemTrayIcon::ActivationReason motivo);
    void AtivadoNoPainel(QSystemTrayIcon::ActivationReason motivo, QPoint ponto);
    void AvisaMinimizado();
    void MinimizacaoPedida();
    void AcompanhaJanelaNativa();
    void Entrega(const std::vector<quintptr> &atividades);

    QPointer<QWidget> m_janela;
    // The main window's native window, whose minimised state is watched too.
    QPointer<QWindow> m_janelaNativa;
    // In an XEmbed tray. Deleted later, never at once: a handler of its own activation may ask
    // for its removal.
    QPointer<QSystemTrayIcon> m_icone;
    // On a StatusNotifier panel.
    QPointer<TItemStatusNotifier> m_item;
    // Listening to the X server for an XEmbed tray to appear, and to the session bus for
    // StatusNotifier panels.
    bool m_vigiandoX = false;
    bool m_ouvindoSessao = false;
    QDBusServiceWatcher *m_vigiaPainel = nullptr;
    // Whether a panel's host is registered, as last asked; forgotten at every change heard.
    std::optional<bool> m_hospede;
    // There was no notification area at all when the icon was first asked for; and since when
    // an XEmbed tray has been there without a StatusNotifier host.
    bool m_semArea = false;
    QElapsedTimer m_soXEmbed;
    QElapsedTimer m_ultimaAtivacao;
    // Where the panel's call being answered says it was made (the pointer's place is not).
    std::optional<QPoint> m_pontoDoPainel;
    // The window was minimised and has not left the screen since.
    bool m_minimizacaoPendente = false;
    bool m_pedido = false;
    QIcon m_figura;
    QString m_dica;
    QPointer<QMenu> m_menu;
};
