// Headless front end to the reader's logic, for scripts and tests.
// Output: UTF-8 lines ending in LF, a word, one space, the value; messages go
// to stderr.
#include <QApplication>
#include <QTextStream>
#include <functional>
#include <map>
#include <memory>

#include "Commands.h"
#include "app/CommandLine.h"
#include "browser/BrowserProcess.h"

namespace {

constexpr const char* kUsage =
    "Uso: lumera-cli [-C PASTA] [--drive X:=PASTA]... COMANDO [ARGUMENTOS]\n"
    "\n"
    "Usa a enciclopédia Lumera sem janelas, para scripts e testes: lê o lex.ini da\n"
    "pasta atual, segue links, monta páginas e pesquisa como o leitor, e escreve o\n"
    "que ele faria em linhas de texto (uma palavra, um espaço, o valor).\n"
    "\n"
    "Opções:\n"
    "  -C PASTA          entra em PASTA antes de tudo (o lex.ini é lido de lá)\n"
    "  --drive X:=PASTA  a unidade X: do Windows é a pasta PASTA (pode repetir);\n"
    "                    também pela variável LUMERA_DRIVES\n"
    "  --help            mostra esta ajuda\n"
    "  --version         mostra a versão\n"
    "\n"
    "Comandos:\n"
    "  ini    mostra InstallPath e CdRomPath lidos do lex.ini\n"
    "  open ENDEREÇO...\n"
    "         abre a página inicial e depois cada ENDEREÇO como um clique num link,\n"
    "         com o roteador, as páginas dos verbetes e as unidades do leitor, sem\n"
    "         janelas; mostra as mensagens e o documento mostrado (Shown e Title,\n"
    "         Missing ou Nothing)\n"
    "  page CHAVE\n"
    "         monta a página do verbete CHAVE (vf.htm) e mostra as navegações\n"
    "  route [--request TEXTO] EVENTO...\n"
    "         passa ao roteador cada EVENTO (um endereço, ou --complete para o fim\n"
    "         do carregamento de um documento) e mostra o que ele faz\n"
    "  search TEXTO [--folder PASTA] [--open N]\n"
    "         procura TEXTO como a janela de pesquisa, mostra a janela e, com --open,\n"
    "         abre o verbete da linha N (a partir de 0)\n"
    "  setup --cd PASTA|IMAGEM [--from PASTA] [--into PASTA] [--force]\n"
    "         instala a edição a partir do CD, de uma cópia dele ou da sua imagem\n"
    "         (ISO, BIN ou CUE): acha a pasta lex2000, o lex.mdb e o modelo-final.htm\n"
    "         (soltos ou dentro de arquivos .cab, ou na pasta de instalação do\n"
    "         Windows dada com --from), cria a pasta de instalação (por omissão\n"
    "         $XDG_DATA_HOME/lumera/edition) com o lex.ini e a unidade do CD gravada,\n"
    "         e cria o índice; não substitui uma edição já instalada sem --force\n"
    "  export --zim ARQUIVO.zim\n"
    "         grava a edição num arquivo ZIM, para o aplicativo Kiwix no celular ou\n"
    "         para servir na rede de casa (kiwix-serve --port 8080 ARQUIVO.zim): as\n"
    "         páginas dos verbetes, os arquivos do CD que elas mostram, a página\n"
    "         inicial e um índice de pesquisa; só para os aparelhos e a rede do dono\n"
    "         da edição; Ctrl+C interrompe sem deixar o arquivo pela metade\n";

struct Command {
    std::function<int(const lumera::cli::CommandContext&)> run;
    bool needsBrowser = false;
};

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> table{
        {QStringLiteral("ini"), {lumera::cli::RunIni}},
        {QStringLiteral("open"), {lumera::cli::RunOpen, true}},
        {QStringLiteral("route"), {lumera::cli::RunRoute}},
        {QStringLiteral("page"), {lumera::cli::RunPage}},
        {QStringLiteral("search"), {lumera::cli::RunSearch}},
        {QStringLiteral("setup"), {lumera::cli::RunSetup}},
        {QStringLiteral("export"), {lumera::cli::RunExport}},
    };
    return table;
}

}  // namespace

int main(int argc, char* argv[]) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    lumera::CommandLine line = lumera::CommandLine::parse(arguments);
    if (line.help) {
        out << kUsage;
        return 0;
    }
    if (line.version) {
        out << "lumera-cli " << LUMERA_VERSION << "\n";
        return 0;
    }
    if (!line.error.isEmpty() || line.positional.isEmpty()) {
        err << "lumera-cli: "
            << (line.error.isEmpty() ? QStringLiteral("falta o comando") : line.error) << "\n"
            << kUsage;
        return 2;
    }
    const auto command = commands().find(line.positional.first());
    if (command == commands().end()) {
        err << "lumera-cli: comando desconhecido: " << line.positional.first() << "\n" << kUsage;
        return 2;
    }
    if (!line.applyDirectory()) {
        err << "lumera-cli: " << line.error << "\n";
        return 1;
    }
    std::unique_ptr<QCoreApplication> app;
    if (command->second.needsBrowser) {
        // The browser runs without a screen here.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        lumera::PrepareBrowserProcess(QStringLiteral("lumera-cli"));
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const lumera::cli::CommandContext context{line.positional.mid(1), line.driveMappings, out, err};
    return command->second.run(context);
}
