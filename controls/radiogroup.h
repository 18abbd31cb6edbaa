#pragma once

#include <QGroupBox>
#include <QStringList>

#include <functional>

class QButtonGroup;
class QRadioButton;

// A framed group of radio buttons laid out in one column, addressed by item index.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent = nullptr);

    QStringList Items() const { return m_items; }
    void setItems(const QStringList &items);
    int ItemIndex() const; // -1 when none is chosen
    void setItemIndex(int indice);
    QRadioButton *Botao(int indice) const;

    // Raised when the user chooses an item.
    std::function<void(QObject *sender)> OnClick;

protected:
    void resizeEvent(QResizeEvent *evento) override;

private:
    void PosicionaBotoes();

    QStringList m_items;
    QButtonGroup *m_grupo = nullptr;
    QList<QRadioButton *> m_botoes;
};
