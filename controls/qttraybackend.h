#pragma once

#include "controls/trayicon.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QWindow>

#include <vector>

class QMenu;
class QWidget;

// The activities one activation of the icon stands for. An XEmbed tray reports whole clicks,
// each turned back into its press and release. A StatusNotifier (D-Bus) panel reports one
// activation per click and never a double click: its activation is the user's way back, so it
// counts as the double click it is on an XEmbed tray, unless it follows (`seguida`) another
// within the double-click interval.
std::vector<quintptr> AtividadesDaAtivacao(QSystemTrayIcon::ActivationReason motivo, bool statusNotifier, bool seguida);

// The real desktop: QSystemTrayIcon. Qt reports whole clicks, so each activation is turned
// back into the press and release the component expects.
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
    // A panel's host registered with the StatusNotifier watcher.
    void HospedeRegistrado();

private:
    bool nativeEventFilter(const QByteArray &tipo, void *mensagem, qintptr *resultado) override;
    void Vigia(bool ligado);
    void MostraSePuder();
    void Ativado(QSystemTrayIcon::ActivationReason motivo);
    void AvisaMinimizado();
    void MinimizacaoPedida();
    void AcompanhaJanelaNativa();
    void Entrega(const std::vector<quintptr> &atividades);
    void MenuDestruido();

    QPointer<QWidget> m_janela;
    // The main window's native window, whose minimised state is watched too.
    QPointer<QWindow> m_janelaNativa;
    // Deleted later, never at once: a handler of its own activation may ask for its removal.
    QPointer<QSystemTrayIcon> m_icone;
    // Listening to the X server and the session bus for a notification area to appear.
    bool m_vigiando = false;
    // The icon lives on a StatusNotifier panel rather than in an XEmbed tray.
    bool m_statusNotifier = false;
    // There was no notification area at all when the icon was first asked for; and since when
    // an XEmbed tray has been there without a StatusNotifier host.
    bool m_semArea = false;
    QElapsedTimer m_soXEmbed;
    QElapsedTimer m_ultimaAtivacao;
    // The window was minimised and has not left the screen since.
    bool m_minimizacaoPendente = false;
    bool m_pedido = false;
    QIcon m_figura;
    QString m_dica;
    // The menu a StatusNotifier panel reads over D-Bus and draws itself, and whether the icon
    // shown now carries it.
    QPointer<QMenu> m_menu;
    bool m_menuNoIcone = false;
};
