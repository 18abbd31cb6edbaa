#pragma once

#include "controls/hookwindowproc.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>

class QGroupBox;
class QPainter;
class QPushButton;
class QRadioButton;
class QStyle;
class QStyleOptionMenuItem;
class QWidget;

// Widget properties standing for the classic component fields the painter obeys: a widget
// (or menu) whose "Tag" equals the painter's SkipTag is left alone with everything inside it,
// and a widget whose "ParentBiDiMode" is false is hooked but keeps its own look.
inline constexpr char PropriedadeTag[] = "Tag";
inline constexpr char PropriedadeParentBiDiMode[] = "ParentBiDiMode";
// Optional properties of a push button with glyph: glyph placement (0 left, 1 right, 2 top,
// 3 bottom; default 0) and the room between glyph and caption (default 4).
inline constexpr char PropriedadeLayout[] = "Layout";
inline constexpr char PropriedadeSpacing[] = "Spacing";

// The kinds of control the painter draws, in the order they are told apart.
enum class TTipoControle { Nenhum, Edit, BitBtn, Botao, Radio, Grupo, UpDown, Gauge, Combo };
TTipoControle TipoControle(const QWidget *control);

// Gives the standard controls of every window, and their menus, a flat look with soft blue
// and orange accents. Each eligible control gets a THookWindowProc that lets the control
// handle every event as before and then paints over it; menus get a style of the painter's
// that measures and draws their items.
class TFlatStyle : public QObject
{
    Q_OBJECT
public:
    explicit TFlatStyle(QObject *owner = nullptr);
    ~TFlatStyle() override;

    bool Active() const { return m_active; }
    void setActive(bool value);
    int SkipTag() const { return m_skipTag; }
    void setSkipTag(int value);

    // To be called by the owner once the window holding the painter is built.
    void Loaded();

    void ProcessAllForms();
    void HookForm(QWidget *container);
    void HookControl(QWidget *control);
    void HookMenus(QWidget *form);

    // A window made (Insercao) or destroyed (Remocao) while the painter lives.
    enum class TOperacao { Insercao, Remocao };
    void Notification(QWidget *form, TOperacao operacao);

    QList<QWidget *> PendingControls() const;
    QList<QWidget *> PendingMenus() const;
    QList<THookWindowProc *> Hooks() const;
    // The style the painter gives menus (null until the first menu is hooked).
    QStyle *EstiloMenus() const;

    // The drawing of each kind of control, on a painter open on the control.
    static void PaintEditFrame(QPainter &p, QWidget *control);
    static void PaintPushButton(QPainter &p, QPushButton *botao, const THookWindowProc &gancho);
    static void PaintBitButton(QPainter &p, QPushButton *botao, const THookWindowProc &gancho);
    static void PaintRadioButton(QPainter &p, QRadioButton *radio, const THookWindowProc &gancho);
    static void PaintGroupBox(QPainter &p, QGroupBox *grupo, const THookWindowProc &gancho);
    static void PaintUpDown(QPainter &p, QWidget *control, const THookWindowProc &gancho);
    static void PaintGauge(QPainter &p, QWidget *control);
    static void PaintComboButton(QPainter &p, QWidget *control, const THookWindowProc &gancho);
    // One menu item; itemDaBarra for items of a window's menu bar.
    static void DrawMenuItem(QPainter &p, const QStyleOptionMenuItem &item, bool itemDaBarra, const QWidget *menu);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void FormaAtivaMudou();
    void ProcessaMenusPendentes();
    void RemoveGancho(THookWindowProc *gancho);
    bool Pulado(const QObject *objeto) const;

    friend class THookWindowProc;

    bool m_active = true;
    int m_skipTag = 0;
    QList<QPointer<QWidget>> m_pendingControls;
    QList<QPointer<QWidget>> m_pendingMenus;
    QList<THookWindowProc *> m_hooks;
    QStyle *m_estiloMenus = nullptr;
    // Menus given the painter's style, with the style they had, to give it back.
    QList<QPair<QPointer<QWidget>, QPointer<QStyle>>> m_menus;
    bool m_menusAgendados = false;
};
