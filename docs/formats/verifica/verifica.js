// Checks the Kaitai Struct descriptions of the binary files against real
// files: each file is parsed by the parser generated from its description and
// every decoded field is compared with what `scenario inspect --json` decodes
// from the same file (the line file in full, --all). A file cut short by one
// byte, and one with a byte too many, must be refused by the generated parser.
//
//   node verifica.js SCENARIO_TOOL FILE...
//
// The kind of each file goes by its name, as for `scenario inspect`:
// *_linea.dat the line file, *.sim the header records, any other *.dat the
// route grid. Exit status 0 when every field agrees, 1 otherwise.
'use strict';

const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const { KaitaiStream } = require('kaitai-struct');
const { compila } = require('./compila');

// --- JSON with numbers as written --------------------------------------------------
// The line file's JSON tells a 16-bit integer (0) from a double (0.0) only by
// how the number is written, which JSON.parse forgets. This reader keeps every
// number as {testo}: its text.

function leggi_json(testo) {
  let i = 0;
  const spazi = () => {
    while (i < testo.length) {
      const c = testo.charCodeAt(i);
      if (c === 32 || c === 10 || c === 13 || c === 9) ++i;
      else break;
    }
  };
  const errore = (cosa) => new Error(`JSON non valido a ${i}: ${cosa}`);
  const valore = () => {
    spazi();
    const c = testo[i];
    if (c === '{') {
      ++i;
      const o = {};
      spazi();
      if (testo[i] === '}') return ++i, o;
      for (;;) {
        spazi();
        const chiave = stringa();
        spazi();
        if (testo[i++] !== ':') throw errore('atteso ":"');
        o[chiave] = valore();
        spazi();
        const s = testo[i++];
        if (s === '}') return o;
        if (s !== ',') throw errore('atteso "," o "}"');
      }
    }
    if (c === '[') {
      ++i;
      const a = [];
      spazi();
      if (testo[i] === ']') return ++i, a;
      for (;;) {
        a.push(valore());
        spazi();
        const s = testo[i++];
        if (s === ']') return a;
        if (s !== ',') throw errore('atteso "," o "]"');
      }
    }
    if (c === '"') return stringa();
    for (const [parola, v] of [['null', null], ['true', true], ['false', false]]) {
      if (testo.startsWith(parola, i)) return (i += parola.length), v;
    }
    const m = /^-?\d+(\.\d+)?([eE][+-]?\d+)?/.exec(testo.slice(i, i + 40));
    if (!m) throw errore(`valore inatteso "${testo.slice(i, i + 10)}"`);
    i += m[0].length;
    return { testo: m[0] };
  };
  const stringa = () => {
    if (testo[i] !== '"') throw errore('attesa una stringa');
    let j = i + 1;
    while (testo[j] !== '"') j += testo[j] === '\\' ? 2 : 1;
    const s = JSON.parse(testo.slice(i, j + 1));
    i = j + 1;
    return s;
  };
  const v = valore();
  spazi();
  if (i !== testo.length) throw errore('testo dopo il valore');
  return v;
}

const numero = (n) => Number(n.testo);
const e_intero = (n) => /^-?\d+$/.test(n.testo);

// --- the comparison ------------------------------------------------------------------

class confronto {
  constructor(file) {
    this.file = file;
    this.campi = 0;
    this.differenze = [];
  }
  // One decoded field: `kaitai` from the generated parser, `ispezione` from
  // scenario inspect.
  uguale(dove, kaitai, ispezione) {
    ++this.campi;
    if (!Object.is(kaitai, ispezione)) {
      this.differenze.push(`${dove}: kaitai ${String(kaitai)}, scenario inspect ${String(ispezione)}`);
    }
  }
}

// An enum value's name as the descriptions spell it: the generated code keeps
// it in capitals.
const nome_enum = (enumerazione, v) => (enumerazione[v] === undefined ? '' : enumerazione[v].toLowerCase());

const campi_cella = ['dato1', 'dato2', 'dato3', 'dato4', 'tempo', 'avvicinamento', 'montagna', 'velocita',
  'pendenza', 'aderenza'];

function confronta_percorso(Percorso, dati, j, c) {
  const p = new Percorso(new KaitaiStream(dati));
  c.uguale('celle', p.celle.length, numero(j.celle));
  let prossima = 0;
  for (const riga of j.righe) {
    const da = numero(riga.da);
    const a = numero(riga.a);
    c.uguale(`riga da ${da}: prima cella`, da, prossima);
    for (let i = da; i <= a && i < p.celle.length; ++i) {
      const x = p.celle[i];
      c.uguale(`cella ${i} tipo`, x.tipo, numero(riga.tipo));
      c.uguale(`cella ${i} nome_tipo`, nome_enum(Percorso.TipoCella, x.tipo), riga.nome_tipo);
      for (const campo of campi_cella) c.uguale(`cella ${i} ${campo}`, x[campo], numero(riga[campo]));
    }
    prossima = a + 1;
  }
  c.uguale('celle coperte dalle righe', prossima, p.celle.length);
}

const campi_voce = [
  ['tipo', 'tipo'], ['primo', 'primo'], ['secondo', 'secondo'], ['terzo', 'terzo'], ['marca', 'marca'],
  ['intero1', 'intero1'], ['intero2', 'intero2'], ['intero3', 'intero3'], ['intero4', 'intero4'],
  ['intero5', 'intero5'], ['opzione1', 'opzione1'], ['opzione2', 'opzione2'], ['opzione3', 'opzione3'],
  ['opzione4', 'opzione4'], ['orario', 'orario']];

function confronta_testata(Testata, dati, j, c) {
  const t = new Testata(new KaitaiStream(dati));
  c.uguale('voci', t.voci.length, j.voci.length);
  t.voci.forEach((v, r) => {
    const w = j.voci[r] || {};
    c.uguale(`voce ${r} indice`, v.indice, w.indice && numero(w.indice));
    c.uguale(`voce ${r} ruolo`, nome_enum(Testata.RuoloVoce, v.ruolo), (w.ruolo || '').replaceAll(' ', '_'));
    c.uguale(`voce ${r} nome`, v.nome, w.nome);
    // Windows-1252: one byte a character.
    c.uguale(`voce ${r} lunghezza_nome`, v.lunghezzaNome, (w.nome || '').length);
    for (const [k, campo] of campi_voce) c.uguale(`voce ${r} ${campo}`, v[k], w[campo] && numero(w[campo]));
  });
}

function confronta_tracciato(Tracciato, dati, j, c) {
  const t = new Tracciato(new KaitaiStream(dati));
  const { VUOTO, INTERO, DOPPIO } = Tracciato.TipoElemento;
  c.uguale('metri', t.metri, numero(j.metri));
  c.uguale('tutti i metri', j.tutti, true);
  c.uguale('punti', j.punti.length, t.metri);
  const elemento = (dove, e, n) => {
    if (n === null) {
      c.uguale(`${dove} tipo`, e.codice, VUOTO);
      c.uguale(`${dove} valore`, e.valore, undefined);
    } else {
      c.uguale(`${dove} tipo`, e.codice, e_intero(n) ? INTERO : DOPPIO);
      c.uguale(`${dove} valore`, e.valore, numero(n));
    }
  };
  for (let m = 0; m < t.metri && m < j.punti.length; ++m) {
    const p = j.punti[m];
    c.uguale(`punto ${m} metro`, m, numero(p.metro));
    elemento(`metro ${m} x`, t.x[m], p.x);
    elemento(`metro ${m} y`, t.y[m], p.y);
  }
}

const tipi = {
  tracciato: { classe: 'Tracciato', confronta: confronta_tracciato, opzioni: ['--all'] },
  testata: { classe: 'Testata', confronta: confronta_testata, opzioni: [] },
  percorso: { classe: 'Percorso', confronta: confronta_percorso, opzioni: [] },
};

function tipo_da_nome(nome) {
  const n = nome.toLowerCase();
  if (n.endsWith('_linea.dat')) return 'tracciato';
  if (n.endsWith('.sim')) return 'testata';
  if (n.endsWith('.dat')) return 'percorso';
  return null;
}

function rifiuta(Classe, dati) {
  try {
    new Classe(new KaitaiStream(dati));
    return false;
  } catch (e) {
    return true;
  }
}

function verifica_file(strumento, generati, file) {
  const tipo = tipo_da_nome(path.basename(file));
  if (tipo === null) throw new Error(`${file}: il nome non dice che file è`);
  const { classe, confronta, opzioni } = tipi[tipo];
  const Classe = require(path.join(generati, `${classe}.js`))[classe];
  const dati = fs.readFileSync(file);

  const testo = execFileSync(strumento, ['inspect', '--json', ...opzioni, file],
    { maxBuffer: 1 << 30, encoding: 'utf8' });
  const j = leggi_json(testo);
  const c = new confronto(file);
  c.uguale('tipo_file', j.tipo_file, tipo);
  c.uguale('byte', dati.length, numero(j.byte));
  confronta(Classe, dati, j, c);

  if (!rifiuta(Classe, dati.subarray(0, dati.length - 1)))
    c.differenze.push('il file accorciato di un byte è accettato');
  if (!rifiuta(Classe, Buffer.concat([dati, Buffer.from([0])])))
    c.differenze.push('il file con un byte in più è accettato');
  return c;
}

async function main() {
  const [strumento, ...file] = process.argv.slice(2);
  if (!strumento || file.length === 0) {
    console.error('uso: node verifica.js SCENARIO_TOOL FILE...');
    process.exit(2);
  }
  const generati = path.join(__dirname, 'generati');
  await compila('javascript', generati);

  let falliti = 0;
  for (const f of file) {
    const c = verifica_file(strumento, generati, f);
    if (c.differenze.length === 0) {
      console.log(`${f}: ${c.campi} campi uguali`);
    } else {
      ++falliti;
      console.log(`${f}: ${c.differenze.length} differenze su ${c.campi} campi`);
      for (const d of c.differenze.slice(0, 20)) console.log(`  ${d}`);
    }
  }
  console.log(`${file.length - falliti} passed, ${falliti} failed`);
  process.exit(falliti === 0 ? 0 : 1);
}

main().catch((e) => {
  console.error(`verifica.js: ${e.stack || e}`);
  process.exit(1);
});
