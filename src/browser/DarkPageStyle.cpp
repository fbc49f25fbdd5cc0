#include "browser/DarkPageStyle.h"

#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace lumera {
namespace {

const QString kScriptName = QStringLiteral("lumera-dark");

// The old pages colour cells, fonts and bodies by attributes; an author style
// with !important overrides them all. Pictures are named apart only to keep
// their transparent parts white.
const char* const kStyleSheet =
    "html{color-scheme:dark}"
    "html,body,div,p,span,table,thead,tbody,tr,td,th,center,blockquote,ul,ol,li,dl,dt,dd,"
    "form,font,b,i,u,em,strong,small,big,h1,h2,h3,h4,h5,h6,pre,hr{"
    "background-color:#1c1d20!important;background-image:none!important;"
    "color:#e4e4e4!important;border-color:#4a4a4a!important}"
    "a,a *{color:#8fb8ff!important}a:visited,a:visited *{color:#c9a4ff!important}"
    "input,textarea,select,button{background-color:#2a2b2f!important;color:#e4e4e4!important}"
    "img,svg,video,canvas,object,embed{background-color:#ffffff!important}"
    "mark{background-color:#f3d34a!important;color:#000!important}";

// Puts the sheet in the document, or takes it away, in every frame the
// script can reach; at a document's creation it waits for its root.
QString scriptSource(bool on) {
    return QStringLiteral(R"JS(
(function (on, css) {
  function apply(doc) {
    var old = doc.getElementById('lumera-dark');
    if (!on) { if (old) old.remove(); return true; }
    if (old) return true;
    if (!doc.documentElement) return false;
    var style = doc.createElement('style');
    style.id = 'lumera-dark';
    style.textContent = css;
    doc.documentElement.appendChild(style);
    return true;
  }
  function everywhere(win) {
    try { if (!apply(win.document)) {
      var watch = new MutationObserver(function () { if (apply(win.document)) watch.disconnect(); });
      watch.observe(win.document, {childList: true});
    } } catch (e) { return; }
    for (var i = 0; i < win.frames.length; ++i) everywhere(win.frames[i]);
  }
  everywhere(window);
})(%1, '%2');
)JS")
        .arg(on ? QStringLiteral("true") : QStringLiteral("false"),
             QString::fromLatin1(kStyleSheet));
}

}  // namespace

DarkPageStyle::DarkPageStyle(QWebEnginePage* page) : QObject(page), page_(page) {}

const char* DarkPageStyle::styleSheet() { return kStyleSheet; }

void DarkPageStyle::setOn(bool on) {
    on_ = on;
    QWebEngineScriptCollection& scripts = page_->scripts();
    for (const QWebEngineScript& script : scripts.find(kScriptName)) scripts.remove(script);
    if (on) {
        QWebEngineScript script;
        script.setName(kScriptName);
        script.setSourceCode(scriptSource(true));
        script.setInjectionPoint(QWebEngineScript::DocumentCreation);
        script.setWorldId(QWebEngineScript::ApplicationWorld);
        script.setRunsOnSubFrames(true);
        scripts.insert(script);
    }
    page_->runJavaScript(scriptSource(on), QWebEngineScript::ApplicationWorld);
}

}  // namespace lumera
