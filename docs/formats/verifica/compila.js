// Compiles the Kaitai Struct descriptions of the three binary files
// (docs/formats/*.ksy) into parsers for one language, with the compiler from
// the npm registry: no Java needed.
//
//   node compila.js [--lingua LANGUAGE] [--uscita FOLDER]
//
// LANGUAGE is one the compiler knows (javascript, python, java, cpp_stl_17,
// csharp, go, rust, ...; `--lingua elenco` lists them); the default is
// javascript into generati/ beside this script, which the check uses.
'use strict';

const fs = require('fs');
const path = require('path');
const yaml = require('js-yaml');
const compilatore = require('kaitai-struct-compiler');

const cartella_ksy = path.join(__dirname, '..');
const descrizioni = ['percorso.ksy', 'testata.ksy', 'tracciato.ksy'];

function opzioni(argomenti) {
  const o = { lingua: 'javascript', uscita: path.join(__dirname, 'generati') };
  for (let i = 0; i < argomenti.length; i += 2) {
    const [nome, valore] = [argomenti[i], argomenti[i + 1]];
    if (valore === undefined) throw new Error(`${nome}: manca il valore`);
    if (nome === '--lingua') o.lingua = valore;
    else if (nome === '--uscita') o.uscita = path.resolve(valore);
    else throw new Error(`opzione sconosciuta: ${nome} (uso: node compila.js [--lingua LINGUA] [--uscita CARTELLA])`);
  }
  return o;
}

// Compiles every description into `uscita`; returns the files written.
async function compila(lingua, uscita) {
  if (!compilatore.languages.includes(lingua))
    throw new Error(`lingua sconosciuta: ${lingua} (note: ${compilatore.languages.join(', ')})`);
  fs.mkdirSync(uscita, { recursive: true });
  const scritti = [];
  for (const nome of descrizioni) {
    const ksy = yaml.load(fs.readFileSync(path.join(cartella_ksy, nome), 'utf8'));
    let file;
    try {
      file = await compilatore.compile(lingua, ksy, null, false);
    } catch (e) {
      throw new Error(`${nome}: ${e && e.message ? e.message : e}`);
    }
    for (const [nome_file, testo] of Object.entries(file)) {
      const destinazione = path.join(uscita, nome_file);
      fs.mkdirSync(path.dirname(destinazione), { recursive: true });
      fs.writeFileSync(destinazione, testo);
      scritti.push(destinazione);
    }
  }
  return scritti;
}

module.exports = { compila };

if (require.main === module) {
  (async () => {
    const argomenti = process.argv.slice(2);
    if (argomenti[0] === '--lingua' && argomenti[1] === 'elenco') {
      console.log(compilatore.languages.join('\n'));
      return;
    }
    const o = opzioni(argomenti);
    for (const f of await compila(o.lingua, o.uscita)) console.log(f);
  })().catch((e) => {
    console.error(`compila.js: ${e.message}`);
    process.exit(1);
  });
}
