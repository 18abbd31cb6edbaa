#include "controls/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget *parent)
    : QGroupBox(parent)
    , m_grupo(new QButtonGroup(this))
{
    connect(m_grupo, &QButtonGroup::idClicked, this, [this](int) {
        if (OnClick)
            OnClick(this);
    });
}

void TRadioGroup::setItems(const QStringList &items)
{
    if (m_items == items)
        return;
    m_items = items;
    qDeleteAll(m_botoes);
    m_botoes.clear();
    for (int i = 0; i < m_items.size(); ++i) {
        // The items take the group's font, as the caption does.
        auto *botao = new QRadioButton(m_items.at(i), this);
        m_grupo->addButton(botao, i);
        m_botoes.push_back(botao);
        botao->show();
    }
    PosicionaBotoes();
}

int TRadioGroup::ItemIndex() const
{
    return m_grupo->checkedId();
}

void TRadioGroup::setItemIndex(int indice)
{
    if (ItemIndex() == indice)
        return;
    if (indice >= 0 && indice < m_botoes.size()) {
        m_botoes.at(indice)->setChecked(true);
    } else if (QAbstractButton *marcado = m_grupo->checkedButton()) {
        m_grupo->setExclusive(false);
        marcado->setChecked(false);
        m_grupo->setExclusive(true);
    }
}

QRadioButton *TRadioGroup::Botao(int indice) const
{
    return indice >= 0 && indice < m_botoes.size() ? m_botoes.at(indice) : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent *evento)
{
    QGroupBox::resizeEvent(evento);
    PosicionaBotoes();
}

// Items share the height under the caption evenly, each centred in its share.
void TRadioGroup::PosicionaBotoes()
{
    if (m_botoes.isEmpty())
        return;
    const int topo = fontMetrics().height();
    const int altura = height() - topo - 4;
    const int parte = altura / static_cast<int>(m_botoes.size());
    for (int i = 0; i < m_botoes.size(); ++i) {
        QRadioButton *botao = m_botoes.at(i);
        const int h = botao->sizeHint().height();
        botao->setGeometry(8, topo + i * parte + (parte - h) / 2, width() - 16, h);
    }
}
