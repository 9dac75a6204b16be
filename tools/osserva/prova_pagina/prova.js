// The page of `scenario watch` in a real browser: headless Chromium driven
// through the DevTools protocol (chrome-remote-interface). The page loads
// from the watch, shows the drawing and the outcome, zooms its map, and after
// each edit of a source shows the new state without a reload, its zoom kept:
// a valid change, an error at its line and column, an error that writes
// nothing (the last drawing dimmed), the fix, a warning at its line. Nothing is fetched from
// anywhere but the watch, and every request carries the key of its address. With --massimo it also times, at the largest
// scenario, a save until the page has drawn the new build; with --screenshot
// it captures the page with an error shown.
//
//   node prova.js --scenario build/tools/scenario --scenari scenarios
//        [--massimo FOLDER NAME NUMBER] [--screenshot FILE.png]
"use strict";

const { spawn } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const CDP = require("chrome-remote-interface");

const argomenti = process.argv.slice(2);
function opzione(nome, quanti = 1) {
  const i = argomenti.indexOf(nome);
  return i < 0 ? null : argomenti.slice(i + 1, i + 1 + quanti);
}
const strumento = path.resolve(opzione("--scenario")[0]);
const scenari = path.resolve(opzione("--scenari")[0]);
const massimo = opzione("--massimo", 3);
const schermata = opzione("--screenshot");

const pausa = (ms) => new Promise((r) => setTimeout(r, ms));

function fallisci(messaggio) {
  throw new Error(messaggio);
}

function trova_chromium() {
  for (const cartella of (process.env.PATH || "/usr/bin").split(path.delimiter))
    for (const nome of ["chromium", "chromium-browser"]) {
      const p = path.join(cartella, nome);
      try {
        fs.accessSync(p, fs.constants.X_OK);
        return p;
      } catch (e) {}
    }
  fallisci("chromium non trovato (apt-get install chromium)");
}

// `scenario watch` in `cartella`, and the page's address from its first line.
async function avvia_watch(cartella, nome, numero) {
  const w = spawn(strumento, ["watch", "--name", nome, "--number", numero], { cwd: cartella });
  let uscita = "";
  w.errori = "";
  w.stdout.on("data", (d) => (uscita += d));
  w.stderr.on("data", (d) => (w.errori += d));
  for (let i = 0; i < 6000; ++i) {
    const m = /http:\/\/127\.0\.0\.1:(\d+)\/\?chiave=([0-9a-f]{32})/.exec(uscita);
    if (m) {
      w.indirizzo = m[0];
      w.chiave = m[2];
      return w;
    }
    if (w.exitCode !== null) break;
    await pausa(10);
  }
  fallisci("scenario watch non ha dato il suo indirizzo:\n" + w.errori);
}

async function ferma_watch(w) {
  const fine = new Promise((r) => w.on("exit", (codice) => r(codice)));
  w.kill("SIGINT");
  const codice = await fine;
  if (codice !== 0) fallisci("scenario watch è finito con " + codice + ":\n" + w.errori);
}

async function avvia_chromium(profilo) {
  const c = spawn(trova_chromium(), [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--remote-debugging-port=0", "--user-data-dir=" + profilo, "about:blank",
  ], { stdio: "ignore" });
  const file = path.join(profilo, "DevToolsActivePort");
  for (let i = 0; i < 3000; ++i) {
    if (fs.existsSync(file)) {
      const porta = Number(fs.readFileSync(file, "utf8").split("\n")[0]);
      if (porta > 0) return { processo: c, porta };
    }
    await pausa(10);
  }
  c.kill();
  fallisci("chromium non ha aperto il protocollo DevTools");
}

// The page, opened in Chromium; with `rete`, every request it makes recorded
// (which slows a stream of events down: not while timing).
async function apri_pagina(porta_chromium, indirizzo, rete = true) {
  const client = await CDP({ port: porta_chromium });
  const { Page, Runtime, Network } = client;
  const richieste = [];
  Network.requestWillBeSent(({ request }) => richieste.push(request.url));
  await Promise.all([Page.enable(), Runtime.enable(), rete ? Network.enable() : Promise.resolve()]);
  await client.Emulation.setDeviceMetricsOverride({ width: 1240, height: 1500, deviceScaleFactor: 1, mobile: false });
  await Page.navigate({ url: indirizzo });
  await Page.loadEventFired();
  const valuta = async (espressione) => {
    const r = await Runtime.evaluate({ expression: espressione, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) fallisci("nella pagina: " + JSON.stringify(r.exceptionDetails));
    return r.result.value;
  };
  // Waits in the page until `condizione` holds; then `valore`.
  const aspetta = (condizione, valore = "true", entro = 30000) =>
    valuta(`new Promise((ok, no) => {
      const fine = performance.now() + ${entro};
      const prova = () => {
        let c = false;
        try { c = (${condizione}); } catch (e) {}
        if (c) ok(${valore});
        else if (performance.now() > fine) no(new Error("non succede: " + ${JSON.stringify(condizione)}));
        else setTimeout(prova, 5);
      };
      prova();
    })`);
  return { client, richieste, valuta, aspetta };
}

// What the page shows, read from its DOM.
const stato_pagina = `(() => {
  const e = document.getElementById("esito");
  const testo = (campo) => { const x = e.querySelector('[data-campo="' + campo + '"]'); return x ? x.textContent : null; };
  const mark = e.querySelector("pre.citazione mark");
  const ombra = document.getElementById("disegno").shadowRoot;
  const zoom = ombra.querySelector("#zoom-mappa");
  return {
    numero: Number(document.body.dataset.numero), disegno: Number(document.body.dataset.disegno),
    stato: e.dataset.stato, titolo: testo("titolo"), luogo: testo("luogo"), significato: testo("significato"),
    segnato: mark ? mark.textContent : null,
    citazione: e.querySelector("pre.citazione") ? e.querySelector("pre.citazione").textContent : null,
    margine: e.querySelector("pre.citazione .margine") ? e.querySelector("pre.citazione .margine").textContent : null,
    vecchio: document.getElementById("disegno").classList.contains("vecchio"),
    segnali: ombra.querySelectorAll('[data-segno="segnale"]').length,
    zoom: zoom ? zoom.getAttribute("transform") : null,
    ricaricata: !window.__non_ricaricata,
  };
})()`;

function controlla(condizione, messaggio, stato) {
  if (!condizione) fallisci(messaggio + "\n" + JSON.stringify(stato, null, 1));
}

async function prova_valdigrano(porta_chromium) {
  const cartella = fs.mkdtempSync(path.join(os.tmpdir(), "prova-pagina-"));
  const linea = fs.readFileSync(path.join(scenari, "valdigrano", "linea.txt"), "latin1");
  const treno = fs.readFileSync(path.join(scenari, "valdigrano", "treno.txt"), "latin1");
  const scrivi = (nome, testo) => fs.writeFileSync(path.join(cartella, nome), testo, "latin1");
  scrivi("V_linea.txt", linea);
  scrivi("V_1-.txt", treno);
  const w = await avvia_watch(cartella, "V", "1");
  const porta_watch = new URL(w.indirizzo).port;
  const p = await apri_pagina(porta_chromium, w.indirizzo);
  try {
    await p.aspetta(`document.body.dataset.numero >= 1 && document.body.dataset.disegno >= 1`);
    let s = await p.valuta(stato_pagina);
    controlla(s.stato === "0" && s.titolo === "Nessun errore" && s.segnali === 4 && !s.vecchio, "la prima costruzione", s);
    await p.valuta("window.__non_ricaricata = true");

    // The map zoomed by the wheel at its middle.
    const centro = await p.valuta(`(() => {
      const r = document.getElementById("disegno").shadowRoot.querySelector("#mappa rect.mappa").getBoundingClientRect();
      return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
    })()`);
    await p.valuta("new Promise((ok) => requestAnimationFrame(() => requestAnimationFrame(ok)))");
    await p.client.Input.dispatchMouseEvent({ type: "mouseMoved", x: centro.x, y: centro.y });
    await p.client.Input.dispatchMouseEvent({ type: "mouseWheel", x: centro.x, y: centro.y, deltaX: 0, deltaY: -400,
                                              pointerType: "mouse" });
    const zoom = await p.aspetta(`(() => { const z = document.getElementById("disegno").shadowRoot
      .querySelector("#zoom-mappa").getAttribute("transform"); return !/scale\\(1\\)$/.test(z); })()`,
      `document.getElementById("disegno").shadowRoot.querySelector("#zoom-mappa").getAttribute("transform")`);

    // 1. A signal more.
    const con_segnale = treno.replace("segnale,    1500,   2, 3, 1,  0, 0,    0,  0,0,0, 150\r\n",
      "segnale,    1500,   2, 3, 1,  0, 0,    0,  0,0,0, 150\r\nsegnale,    2200,   1, 2, 1,  0, 0,    0,  0,0,0, 0\r\n");
    scrivi("V_1-.txt", con_segnale);
    await p.aspetta(`document.body.dataset.numero >= 2 && document.body.dataset.disegno >= 2`);
    s = await p.valuta(stato_pagina);
    controlla(s.stato === "0" && s.segnali === 5 && !s.ricaricata && s.zoom === zoom,
              "un segnale in più, senza ricaricare, lo zoom tenuto", s);

    // 2. A signal beyond the grid, saved by renaming: error 15 at its line
    // and column, the line quoted with the column marked.
    const con_errore = con_segnale.replace("segnale,    3700", "segnale,   99700");
    const righe = con_errore.split("\r\n");
    const riga = righe.findIndex((r) => r.includes("99700")) + 1;
    const colonna = righe[riga - 1].indexOf("99700") + 1;
    fs.writeFileSync(path.join(cartella, "nuovo.tmp"), con_errore, "latin1");
    fs.renameSync(path.join(cartella, "nuovo.tmp"), path.join(cartella, "V_1-.txt"));
    await p.aspetta(`document.body.dataset.numero >= 3`);
    s = await p.valuta(stato_pagina);
    controlla(s.stato === "1" && s.titolo === "Errore n. 15 a 99700 m" &&
              s.significato === "la posizione di un elemento è oltre la fine della griglia del percorso (qui la " +
                                "posizione più lontana ammessa è 12900 m, con un percorso lungo 6000 m)" &&
              s.luogo === `V_1-.txt:${riga}:${colonna}` && s.segnato === "9" &&
              s.margine === riga + " │ " && s.citazione.startsWith(riga + " │ segnale,   99700,") && !s.vecchio &&
              !s.ricaricata && s.zoom === zoom,
              `l'errore 15 alla riga ${riga}, colonna ${colonna}`, s);
    if (schermata) {
      await p.valuta(`document.getElementById("intera").click()`);
      const { cssContentSize } = await p.client.Page.getLayoutMetrics();
      const { data } = await p.client.Page.captureScreenshot({
        format: "png", captureBeyondViewport: true,
        clip: { x: 0, y: 0, width: cssContentSize.width, height: cssContentSize.height, scale: 1 },
      });
      fs.writeFileSync(schermata[0], Buffer.from(data, "base64"));
      console.log("schermata: " + schermata[0]);
      await p.client.Input.dispatchMouseEvent({ type: "mouseWheel", x: centro.x, y: centro.y, deltaX: 0, deltaY: -400,
                                                pointerType: "mouse" });
      await pausa(300);
    }
    const zoom_errore = (await p.valuta(stato_pagina)).zoom;

    // 3. The fix, then a line too long for any grid: nothing written, the
    // last drawing stays, dimmed.
    scrivi("V_1-.txt", con_segnale);
    await p.aspetta(`document.getElementById("esito").dataset.stato === "0" && document.body.dataset.disegno >= 4`);
    scrivi("V_linea.txt", linea.replace("lunghezza percorso,    6000", "lunghezza percorso,    2000000"));
    await p.aspetta(`document.getElementById("esito").dataset.stato === "1" &&
                     document.getElementById("disegno").classList.contains("vecchio")`);
    s = await p.valuta(stato_pagina);
    controlla(s.titolo === "Errore n. 1" && s.luogo === "V_linea.txt:2:1" && s.vecchio && s.segnali === 5 &&
              !s.ricaricata, "l'errore 1: nessun file, il disegno di prima attenuato", s);

    // 4. Its fix: the drawing current again, the zoom as it was.
    scrivi("V_linea.txt", linea);
    await p.aspetta(`document.getElementById("esito").dataset.stato === "0" &&
                     !document.getElementById("disegno").classList.contains("vecchio")`);
    s = await p.valuta(stato_pagina);
    controlla(s.titolo === "Nessun errore" && s.segnali === 5 && !s.ricaricata && s.zoom === zoom_errore,
              "la correzione", s);

    // 5. A key misspelled: no error, the warning at its line, its key marked.
    scrivi("V_1-.txt", con_segnale.replace("segnale,    1500", "segnalle,    1500"));
    await p.aspetta(`document.querySelector('#esito li[data-codice="chiave_sconosciuta"]') !== null`);
    const avviso = await p.valuta(`(() => {
      const li = document.querySelector('#esito li[data-codice="chiave_sconosciuta"]');
      return { testo: li.firstChild.textContent, segnato: li.querySelector("pre.citazione mark").textContent,
               stato: document.getElementById("esito").dataset.stato, ricaricata: !window.__non_ricaricata };
    })()`);
    const riga_avviso = con_segnale.split("\r\n").findIndex((r) => r.startsWith("segnale,    1500")) + 1;
    controlla(avviso.stato === "0" && avviso.segnato === "s" && !avviso.ricaricata &&
              avviso.testo.startsWith(`V_1-.txt:${riga_avviso}:1: attenzione: "segnalle" non è una chiave`),
              "l'avviso di una chiave sbagliata", avviso);

    // 6. Outcomes that build nothing show why, not just that: a character
    // Windows-1252 cannot hold (its words, place and line), then a source
    // that is gone (the line that says it cannot be read).
    const nessuna = (n) => `document.body.dataset.numero > ${n} &&
                            document.getElementById("esito").dataset.stato === "2"`;
    let prima = (await p.valuta(stato_pagina)).numero;
    fs.writeFileSync(path.join(cartella, "V_1-.txt"),
                     Buffer.from(con_segnale.replace("segnale,    1500", "segnale→,    1500"), "utf8"));
    await p.aspetta(nessuna(prima));
    s = await p.valuta(stato_pagina);
    const riga_freccia = con_segnale.split("\r\n").findIndex((r) => r.startsWith("segnale,    1500")) + 1;
    controlla(s.titolo === "Nulla costruito" && /U\+2192 "→" non esiste in Windows-1252/.test(s.significato || "") &&
              s.luogo === `V_1-.txt:${riga_freccia}:8` && s.segnato === "→",
              "un carattere che Windows-1252 non ha: il perché, il luogo, la riga", s);
    prima = s.numero;
    fs.rmSync(path.join(cartella, "V_1-.txt"));
    await p.aspetta(nessuna(prima));
    const mancante = await p.valuta(`(() => {
      const e = document.getElementById("esito");
      return { titolo: e.querySelector('[data-campo="titolo"]').textContent,
               messaggi: [...e.querySelectorAll("ul.messaggi li")].map((li) => li.textContent) };
    })()`);
    controlla(mancante.titolo === "Nulla costruito" &&
              mancante.messaggi.some((m) => m.startsWith("impossibile leggere il sorgente del treno")),
              "un sorgente che manca: la riga che lo dice", mancante);
    scrivi("V_1-.txt", con_segnale);
    await p.aspetta(`document.getElementById("esito").dataset.stato === "0"`);

    // Nothing was fetched from anywhere but the watch, and every request
    // carried its key.
    const altrove = p.richieste.filter((u) => !u.startsWith(`http://127.0.0.1:${porta_watch}/`));
    if (altrove.length) fallisci("la pagina ha chiesto altro: " + altrove.join(", "));
    const senza_chiave = p.richieste.filter((u) => new URL(u).searchParams.get("chiave") !== w.chiave);
    if (senza_chiave.length) fallisci("richieste senza la chiave: " + senza_chiave.join(", "));
    console.log("pagina: la prima costruzione, un segnale in più, l'errore 15 alla riga " + riga + ", colonna " +
                colonna + ", l'errore 1 col disegno attenuato, la correzione, un avviso: senza ricaricare, lo zoom " +
                "tenuto");
  } finally {
    await p.client.close();
    await ferma_watch(w);
    fs.rmSync(cartella, { recursive: true, force: true });
  }
}

// The largest scenario: from a save of its line source to the page showing
// the new build's drawing (two frames after it is in the page).
async function prova_massimo(porta_chromium, cartella, nome, numero) {
  const file_linea = path.join(cartella, nome + "_linea.txt");
  const linea = fs.readFileSync(file_linea, "latin1");
  const w = await avvia_watch(cartella, nome, numero);
  const p = await apri_pagina(porta_chromium, w.indirizzo, false);
  try {
    await p.aspetta(`document.body.dataset.disegno >= 1 && document.body.dataset.numero >= 1`, "true", 120000);
    const tempi = [];
    for (let i = 0; i < 7; ++i) {
      const dopo = Number(await p.valuta("document.body.dataset.numero"));
      // Told by the page itself when it has the new build, without polling
      // it: an observer of the body's attributes.
      const mostrato = p.valuta(`new Promise((ok) => {
        const nuovo = () => Number(document.body.dataset.numero) > ${dopo} &&
                            Number(document.body.dataset.disegno) > ${dopo};
        const fatto = () => requestAnimationFrame(() => requestAnimationFrame(() => ok(true)));
        if (nuovo()) return fatto();
        const o = new MutationObserver(() => { if (nuovo()) { o.disconnect(); fatto(); } });
        o.observe(document.body, { attributes: true });
      })`);
      // A second between saves, as an author's come: the page has done with
      // the one before.
      await pausa(1000);
      fs.writeFileSync(file_linea, linea.replace("curvas1, 200, 300", "curvas1, 200, " + (310 + 10 * i)), "latin1");
      const salvato = process.hrtime.bigint();
      await mostrato;
      tempi.push(Number(process.hrtime.bigint() - salvato) / 1e6);
    }
    fs.writeFileSync(file_linea, linea, "latin1");
    tempi.sort((a, b) => a - b);
    console.log(`pagina, scenario massimo: dal salvataggio al disegno nuovo mostrato ${Math.round(tempi[3])} ms ` +
                `(mediana di ${tempi.length}), ${Math.round(tempi[0])}-${Math.round(tempi[tempi.length - 1])} ms`);
  } finally {
    await p.client.close();
    await ferma_watch(w);
  }
}

(async () => {
  const profilo = fs.mkdtempSync(path.join(os.tmpdir(), "prova-pagina-chromium-"));
  const chromium = await avvia_chromium(profilo);
  try {
    await prova_valdigrano(chromium.porta);
    if (massimo) await prova_massimo(chromium.porta, path.resolve(massimo[0]), massimo[1], massimo[2]);
  } finally {
    chromium.processo.kill();
    await pausa(200);
    fs.rmSync(profilo, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error("prova della pagina fallita: " + (e && e.stack ? e.stack : e));
  process.exit(1);
});
