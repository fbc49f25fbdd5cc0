#include "Catalogue.h"

#include "Charts.h"
#include "Flags.h"
#include "Maps.h"
#include "Scenes.h"

namespace lumera::art {
namespace {

using maps::MapOutline;
using maps::Place;

const Place kLisboa{QStringLiteral("Lisboa"), -9.14, 38.72};
const Place kCalicute{QStringLiteral("Calicute"), 75.8, 11.25};

QVector<Place> gamaRoute() {
    return {kLisboa,          {{}, -17, 28}, {{}, -24, 14}, {{}, -28, -10},
            {{}, -10, -32},   {{}, 18, -36}, {{}, 33, -29}, {{}, 41, -15},
            {{}, 40.1, -3.2}, {{}, 60, 6},   kCalicute};
}

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// Adds a seeded generator to the scene functions that want one.
template <typename Scene>
Drawer seeded(const QString& seed, Scene scene) {
    return [seed, scene](QPainter& p, const QRectF& r) {
        Rng rng(seed);
        scene(p, r, rng);
    };
}

Drawer plain(void (*scene)(QPainter&, const QRectF&)) {
    return [scene](QPainter& p, const QRectF& r) { scene(p, r); };
}

Drawer asFilm(const Drawer& still) {
    return [still](QPainter& p, const QRectF& r) {
        still(p, r);
        scenes::filmFrame(p, r);
    };
}

Drawer asSound(const QString& seed, const Drawer& picture) {
    return [seed, picture](QPainter& p, const QRectF& r) {
        picture(p, r);
        Rng rng(seed);
        scenes::soundWave(p, r, rng);
    };
}

// An audiovisual panel: a main picture with an inset and a title bar.
Drawer asPanel(const Drawer& main, const Drawer& inset, const QString& title) {
    return [main, inset, title](QPainter& p, const QRectF& r) {
        main(p, r);
        const QRectF box(r.left() + r.width() * 0.6, r.top() + r.height() * 0.08, r.width() * 0.36,
                         r.height() * 0.36);
        p.save();
        p.setClipRect(box);
        inset(p, box);
        p.restore();
        p.setPen(QPen(Qt::white, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        drawLabelStrip(p, r, title);
    };
}

Drawer map(const MapOutline& outline) {
    return [outline](QPainter& p, const QRectF& r) { maps::drawMap(p, r, outline); };
}

}  // namespace

QHash<QString, Drawer> mediaPictures() {
    using namespace scenes;
    QHash<QString, Drawer> all;
    auto scene = [&all](const QString& name, auto function) { all[name] = seeded(name, function); };

    scene("cristo-redentor",
          [](QPainter& p, const QRectF& r, Rng& g) { mountainBay(p, r, g, true); });
    scene("pao-de-acucar",
          [](QPainter& p, const QRectF& r, Rng& g) { mountainBay(p, r, g, false); });
    scene("torre-belem", tower);
    scene("ruinas-sao-paulo",
          [](QPainter& p, const QRectF& r, Rng& g) { ruinedFacade(p, r, g, false); });
    scene("convento-carmo",
          [](QPainter& p, const QRectF& r, Rng& g) { ruinedFacade(p, r, g, true); });
    scene("ilha-mocambique", islandTown);
    scene("ilha-fogo", [](QPainter& p, const QRectF& r, Rng& g) { volcano(p, r, g, false); });
    scene("pico-cao-grande", [](QPainter& p, const QRectF& r, Rng& g) { volcano(p, r, g, true); });
    scene("levada", levada);
    scene("rio-amazonas", riverForest);
    scene("floresta", forest);
    scene("eletrico", tram);
    scene("alfama", hillTown);
    scene("caravela", caravel);
    scene("cravo", carnation);
    scene("planetas", planets);
    scene("terra-espaco", earthFromSpace);
    scene("catorze-bis", biplane);
    scene("profetas-congonhas", prophets);
    scene("mesa-copo-dagua", banquet);
    scene("mascaras", masks);
    all["gota"] = plain(waterDrop);
    all["pandeiro"] = plain(pandeiro);
    all["berimbau"] = plain(berimbau);
    all["painel-azulejos"] = plain(azulejoPanel);
    all["azulejo-padrao"] = plain(azulejoTile);
    all["guitarra-portuguesa"] = [](QPainter& p, const QRectF& r) { guitar(p, r, true); };
    all["retrato-camoes"] = [](QPainter& p, const QRectF& r) {
        portrait(p, r, QColor(120, 40, 40), false);
    };
    all["retrato-machado"] = [](QPainter& p, const QRectF& r) {
        portrait(p, r, QColor(70, 90, 120), false);
    };
    all["retrato-pessoa"] = [](QPainter& p, const QRectF& r) {
        portrait(p, r, QColor(140, 110, 70), true);
    };

    all["filme-25abril"] = asFilm(all["cravo"]);
    all["filme-orbitas"] = asFilm(seeded(QStringLiteral("filme-orbitas"), orbits));
    all["filme-roda-capoeira"] = asFilm(plain(roda));
    all["filme-desfile"] = asFilm(seeded(QStringLiteral("filme-desfile"), parade));
    all["sons-floresta"] = asSound("sons-floresta", all["floresta"]);
    all["som-batucada"] = asSound("som-batucada", all["pandeiro"]);
    all["som-guitarra"] = asSound("som-guitarra", all["guitarra-portuguesa"]);
    all["som-violao"] =
        asSound("som-violao", [](QPainter& p, const QRectF& r) { guitar(p, r, false); });

    all["band-brasil"] = plain(flags::brasil);
    all["band-portugal"] = plain(flags::portugal);
    all["band-angola"] = plain(flags::angola);
    all["band-mocambique"] = plain(flags::mocambique);
    all["band-caboverde"] = plain(flags::caboVerde);
    all["band-guinebissau"] = plain(flags::guineBissau);
    all["band-saotome"] = plain(flags::saoTome);
    all["band-timorleste"] = plain(flags::timorLeste);

    all["mapa-brasil"] = map({-76,
                              -32,
                              -36,
                              8,
                              {"brasil"},
                              {},
                              {{text("Brasília"), -47.9, -15.8},
                               {"Rio de Janeiro", -43.2, -22.9},
                               {"Manaus", -60.0, -3.1},
                               {"Salvador", -38.5, -13.0}},
                              "Brasil"});
    all["mapa-portugal"] =
        map({-12,
             -4,
             36.5,
             43,
             {"portugal"},
             {},
             {kLisboa, {"Porto", -8.61, 41.15}, {"Coimbra", -8.43, 40.2}, {"Faro", -7.93, 37.02}},
             "Portugal continental"});
    all["mapa-angola"] =
        map({6,
             30,
             -20,
             -3,
             {"angola"},
             {},
             {{"Luanda", 13.23, -8.84}, {"Huambo", 15.74, -12.78}, {"Lobito", 13.55, -12.35}},
             "Angola"});
    all["mapa-acores"] =
        map({-32, -24, 36.3, 40.3, {"azores"}, {}, {}, text("Arquipélago dos Açores")});
    all["rotas-navegacoes"] =
        map({-80,
             130,
             -45,
             50,
             {"portugal"},
             {gamaRoute(),
              {kLisboa, {{}, -20, 15}, {{}, -30, -5}, {text("Porto Seguro"), -39.06, -16.45}},
              {kCalicute, {{}, 95, 5}, {{}, 104, 1.3}, {"Macau", 113.5, 22.2}}},
             {kLisboa, kCalicute, {text("Porto Seguro"), -39.06, -16.45}, {"Macau", 113.5, 22.2}},
             text("Rotas das navegações portuguesas")});
    all["rota-india"] =
        map({-35,
             90,
             -42,
             45,
             {},
             {gamaRoute()},
             {kLisboa, kCalicute, {"Cabo da Boa Esperança", 18.5, -34.4}, {"Melinde", 40.1, -3.2}},
             text("A viagem de Vasco da Gama (1497–1499)")});
    MapOutline tordesilhas{-100,
                           60,
                           -45,
                           50,
                           {},
                           {},
                           {{"Tordesilhas", -5.0, 41.5}},
                           text("Tratado de Tordesilhas (1494)")};
    tordesilhas.meridianOfTordesillas = true;
    all["linha-tordesilhas"] = map(tordesilhas);
    all["mapa-lusofonia"] = map({-110,
                                 150,
                                 -45,
                                 60,
                                 {"brasil", "portugal", "angola", "mocambique"},
                                 {},
                                 {{"Cabo Verde", -23.6, 15.1},
                                  {text("Guiné-Bissau"), -15.6, 11.9},
                                  {text("São Tomé e Príncipe"), 6.7, 0.3},
                                  {"Timor-Leste", 125.6, -8.6},
                                  {"Macau", 113.5, 22.2}},
                                 text("Países de língua portuguesa")});

    all["pop-brasil"] = [](QPainter& p, const QRectF& r) {
        charts::barChart(p, r, text("População do Brasil (milhões)"),
                         {{"1900", 17.4},
                          {"1920", 30.6},
                          {"1940", 41.2},
                          {"1950", 51.9},
                          {"1960", 70.1},
                          {"1970", 93.1},
                          {"1980", 119.0},
                          {"1991", 146.8},
                          {"2000", 169.8}});
    };
    all["distancias-planetas"] = [](QPainter& p, const QRectF& r) {
        charts::barChart(p, r, text("Distância média ao Sol (UA)"),
                         {{text("Mercúrio"), 0.39},
                          {text("Vênus"), 0.72},
                          {"Terra", 1.0},
                          {"Marte", 1.52},
                          {text("Júpiter"), 5.2},
                          {"Saturno", 9.54},
                          {"Urano", 19.2},
                          {"Netuno", 30.1}});
    };
    all["falantes"] = [](QPainter& p, const QRectF& r) {
        charts::barChart(p, r, text("População em 2000 (milhões)"),
                         {{"Brasil", 170},
                          {text("Moçambique"), 18},
                          {"Angola", 13},
                          {"Portugal", 10},
                          {text("Guiné-Bissau"), 1.2},
                          {"Timor-Leste", 0.8},
                          {"Cabo Verde", 0.4},
                          {text("São Tomé"), 0.14}});
    };
    all["agua-planeta"] = [](QPainter& p, const QRectF& r) {
        charts::pieChart(p, r, text("A água do planeta"),
                         {{"Oceanos e mares", 97.5},
                          {"Gelo e neve", 1.7},
                          {text("Água subterrânea doce"), 0.75},
                          {"Rios, lagos e ar", 0.05}});
    };
    all["esquema-fotossintese"] = plain(charts::photosynthesis);

    all["painel-floresta"] =
        asPanel(all["floresta"], all["rio-amazonas"], text("A vida na floresta"));
    all["painel-navegacoes"] =
        asPanel(all["caravela"], all["rotas-navegacoes"], text("As navegações"));
    all["painel-sistema-solar"] =
        asPanel(all["planetas"], all["filme-orbitas"], text("O Sistema Solar"));
    return all;
}

QHash<QString, PagePicture> pagePictures() {
    using namespace scenes;
    const QSize wide(480, 340);
    QHash<QString, PagePicture> all;
    all["lex2000/atlasm/img/crono.jpg"] = {[](QPainter& p, const QRectF& r) {
                                               charts::cosmicTimeline(p, r,
                                                                      {{"Big Bang", 13.7},
                                                                       {"Primeiras estrelas", 13.3},
                                                                       {text("Via Láctea"), 13.0},
                                                                       {"Sol e Terra", 4.6},
                                                                       {text("Primeira vida"), 3.8},
                                                                       {"Plantas em terra", 0.47}});
                                           },
                                           QSize(620, 300)};
    all["lex2000/atlasm/img/deep.jpg"] = {seeded(QStringLiteral("deep"), galaxy), wide};
    all["lex2000/atlasm/img/solar.jpg"] = {seeded(QStringLiteral("solar"), planets), wide};
    all["lex2000/atlasm/img/terra.jpg"] = {seeded(QStringLiteral("terra"), earthFromSpace), wide};
    all["lex2000/atlasa/img/corpo.gif"] = {plain(humanFigure), QSize(200, 300)};
    all["lex2000/tomo98a/image/sete-cidades.gif"] = {
        seeded(QStringLiteral("sete-cidades"), lakeCrater), QSize(240, 160)};
    return all;
}

}  // namespace lumera::art
