#pragma once

#include "controls/hookwindowproc.h"
#include "controls/pinturaflat.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>

class QStyle;
class QWidget;

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

    QList<QWidget *> ControlesPendentes() const;
    QList<QWidget *> MenusPendentes() const;
    QList<THookWindowProc *> Ganchos() const;
    // The style the painter gives menus (null until the first menu is hooked).
    QStyle *EstiloMenus() const;

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void FormaAtivaMudou();
    void ProcessaMenusPendentes();
    bool Pulado(const QObject *objeto) const;

    bool m_active = true;
    int m_skipTag = 0;
    QList<QPointer<QWidget>> m_controlesPendentes;
    QList<QPointer<QWidget>> m_menusPendentes;
    // Each hook ends with its control.
    QList<QPointer<THookWindowProc>> m_ganchos;
    QStyle *m_estiloMenus = nullptr;
    // Menus given the painter's style, with the style they had, to give it back.
    QList<QPair<QPointer<QWidget>, QPointer<QStyle>>> m_menus;
    bool m_menusAgendados = false;
};
