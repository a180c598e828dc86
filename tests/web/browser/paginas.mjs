// The operator's pages of corvela-web driven in Debian's Chromium: an installation on the test
// server with two desks, the service over it, and two browser contexts as two operators. The
// sample delivery goes its whole way through the pages (upload, run, the run's question, summary,
// save, both reports compared cell by cell with the command line's, the workbook, deletion), the
// EAPB registry's name confirmation, and a site named <script>alert(1)</script> on the other desk
// at the same time, shown as text. With CORVELA_CAPTURAS=FOLDER each page is captured there at
// 1024x768.
// Exit status 77 (skipped) when puppeteer-core, Chromium or the test server is missing.
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const skip = (why) => {
  console.log('Prueba omitida: ' + why);
  process.exit(77);
};
let puppeteer;
try {
  puppeteer = (await import('puppeteer-core')).default;
} catch {
  skip('falta el módulo puppeteer-core (bash scripts/install-deps.sh tests lo instala)');
}
const chromium = ['/usr/bin/chromium', '/usr/bin/chromium-browser'].find((p) => fs.existsSync(p));
if (!chromium) skip('falta Chromium (/usr/bin/chromium)');
const { CORVELA_BINARY: corvela, CORVELA_WEB_BINARY: corvela_web, CORVELA_SOURCE_DIR: source,
  CORVELA_TEST_SERVER_DIR: server_dir, CORVELA_CAPTURAS: captures } = process.env;
if (!server_dir || !fs.existsSync(server_dir)) skip('falta el servidor de pruebas (PostgreSQL)');

// ---- The installation: the sample sites plus one named with a script, two desks, two accounts.
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'corvela-paginas-'));
const database = 'corvela_paginas_' + process.pid;
const connection = `host=${server_dir} user=postgres dbname=${database}`;
const config = path.join(dir, 'ripsips.ini');
const run = (args, input) =>
  execFileSync(corvela, [...args, '--config', config], { input, encoding: 'utf8', stdio: ['pipe', 'pipe', 'pipe'] });
const SCRIPT_NAME = '<script>alert(1)</script>';
const SCRIPT_IPS = '760010099901';

execFileSync('createdb', ['-h', server_dir, '-U', 'postgres', '-T', 'template0', '-E', 'UTF8',
  '--locale=C', '--locale-provider=libc', database]);
let service = null;
let browser = null;
const cleanup = () => {
  if (service) service.kill('SIGTERM');
  try {
    execFileSync('dropdb', ['-h', server_dir, '-U', 'postgres', '--force', database], { stdio: 'ignore' });
  } catch {}
  fs.rmSync(dir, { recursive: true, force: true });
};
process.on('exit', cleanup);

run(['init', path.join(dir, 'db'), '--results', dir, '--server', connection]);
run(['init', path.join(dir, 'caja2', 'db'), '--results', path.join(dir, 'caja2'), '--server',
  connection, '--desk', 'caja2']);
const sites = fs.readFileSync(path.join(source, 'samples', 'sedes.csv'), 'utf8') +
  `${SCRIPT_IPS},${SCRIPT_NAME},Ana Gómez,Calle 1 Cali,6025550111,6025550110\n`;
fs.writeFileSync(path.join(dir, 'sedes.csv'), sites);
run(['sedes', 'import', path.join(dir, 'sedes.csv')]);
run(['usuarios', 'add', 'ana'], 'clave-de-ana\n');
run(['usuarios', 'add', 'bea', '--desk', 'caja2'], 'clave-de-bea\n');
// The sample delivery as it lies on the operator's disk, and a copy sent by the scripted site.
const sample = path.join(source, 'samples', 'entrega');
const scripted = path.join(dir, 'otra');
fs.mkdirSync(scripted);
for (const name of fs.readdirSync(sample))
  fs.writeFileSync(path.join(scripted, name),
    fs.readFileSync(path.join(sample, name), 'latin1').replaceAll('760010012301', SCRIPT_IPS), 'latin1');

// ---- The service, on a free loopback port.
service = spawn(corvela_web, ['--config', config, '--listen', '127.0.0.1:0'],
  { stdio: ['ignore', 'pipe', 'inherit'] });
const base = await new Promise((resolve, reject) => {
  let said = '';
  service.stdout.on('data', (d) => {
    said += d;
    const m = said.match(/escucha en (http:\/\/127\.0\.0\.1:\d+)/);
    if (m) resolve(m[1]);
  });
  service.on('exit', () => reject(new Error('corvela-web terminó: ' + said)));
});

const started = Date.now();
browser = await puppeteer.launch({
  executablePath: chromium, headless: true,
  // Two operators' pages at once: neither counts as a background page whose timers are slowed.
  args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--lang=es',
    '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
    '--disable-backgrounding-occluded-windows'],
});

// A browser context of its own (its own cookies) with one page at 1024x768; an alert or an error
// of a page fails the test at its end.
const faults = [];
async function operator() {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  page.on('dialog', (d) => {
    faults.push('diálogo del navegador: ' + d.message());
    d.dismiss();
  });
  page.on('pageerror', (e) => faults.push('error en la página: ' + e.message));
  page.on('console', (m) => m.type() === 'error' && !m.text().startsWith('Failed to load resource') &&
    faults.push('consola: ' + m.text()));
  return page;
}
const capture = async (page, name) => {
  if (captures) await page.screenshot({ path: path.join(captures, `web_${name}_1024x768.png`) });
};
async function log_in(page, user, password) {
  // The page may load only the service's own scripts and styles, in no frame, kept by no cache.
  const headers = (await page.goto(base + '/')).headers();
  assert.match(headers['content-security-policy'], /default-src 'none'; script-src 'self'; style-src 'self';/);
  assert.deepEqual([headers['x-frame-options'], headers['cache-control']], ['DENY', 'no-store']);
  await page.waitForSelector('#ingreso button:enabled');
  await capture(page, 'ingreso');
  await page.type('#usuario', user);
  await page.type('#clave', password);
  await page.keyboard.press('Enter');
  await page.waitForSelector('#BLeer');
  await page.waitForFunction(() => document.querySelector('#quien').textContent !== '');
}
// The dialog on top: its title, its text, the button Enter presses.
async function box(page) {
  await page.waitForSelector('dialog[open]');
  return page.$eval('dialog[open]', (d) => ({
    title: d.querySelector('h2').textContent,
    text: [...d.querySelector('.texto').children].map((line) => line.textContent).join('\n'),
    focused: document.activeElement.textContent,
  }));
}
// Closes the message boxes on top until the one titled `last` is closed (Esc closes each).
async function close_boxes(page, last) {
  for (;;) {
    const shown = await box(page);
    await page.keyboard.press('Escape');
    await page.waitForFunction((t) => ![...document.querySelectorAll('dialog[open] h2')].some((h) => h.textContent === t), {}, shown.title);
    if (shown.title === last) break;
  }
  // The page has taken the operation's end (its boxes, lists and summary refreshed).
  await page.waitForFunction(() => !document.body.classList.contains('ocupado'));
}
async function upload(page, folder) {
  const input = await page.$('#carpeta');
  await input.uploadFile(folder);  // a folder picked, as the operator picks it
  await page.waitForFunction(() => document.querySelector('#archivos').options.length === 11);
}
const cells = (page, selector) =>
  page.$$eval(selector + ' tr', (rows) => rows.map((r) => [...r.cells].map((c) => c.textContent)));
const as_text = (rows) => rows.map((r) => r.map((c) => (c === null ? '' : String(c))));

const ana = await operator();
const bea = await operator();
await log_in(ana, 'ana', 'clave-de-ana');
await log_in(bea, 'bea', 'clave-de-bea');

// Both desks upload and read their deliveries at the same time.
await upload(ana, sample);
assert.deepEqual(await ana.$$eval('#archivos option', (o) => o.map((x) => x.textContent)),
  fs.readdirSync(sample).sort());
await upload(bea, scripted);
await Promise.all([ana.click('#BLeer'), bea.click('#BLeer')]);
for (const page of [ana, bea]) await close_boxes(page, 'Resumén de la validación.');
await capture(ana, 'principal');

// The site named with a script shows as characters on the other desk, where nothing ran.
assert.equal(await bea.$eval('#nombre_ips', (b) => b.value), SCRIPT_NAME);
assert.equal(await bea.$eval('#cod_ips', (b) => b.value), SCRIPT_IPS);
assert.equal(await ana.$eval('#cod_ips', (b) => b.value), '760010012301');

// A second run asks about the unsaved one, with its texts and Sí as the default button; No goes on.
await ana.click('#BLeer');
const question = await box(ana);
assert.deepEqual(question, { title: 'Existe Información.',
  text: 'Existe información en tablas temporales que no se ha cargado.\n¿Desea cargarla.?', focused: 'Sí' });
await capture(ana, 'pregunta');
await ana.$$eval('dialog[open] button', (b) => b.find((x) => x.textContent === 'No').click());
await close_boxes(ana, 'Resumén de la validación.');
const summary = await cells(ana, '#resumen');
const per_file = await cells(ana, '#por_archivo');
assert.deepEqual(summary[0], ['Leidos', 'Pasaron', 'Errados']);
assert.deepEqual(per_file[0], ['Archivo', 'Leidos', 'Errados', 'Pasaron']);
assert.deepEqual(await ana.$$eval('#DBfechas tbody tr', (r) => r.map((x) => x.textContent)), ['112026', '122026']);
const results = await ana.$$eval('#resultados a', (a) => a.map((x) => x.textContent));
assert.ok(results.includes('760010012301_US000001.ERR') && results.some((r) => r.endsWith('.xlsx')), results.join());

// Save, then both reports against the command line's.
await ana.click('#Cmdgraba');
await close_boxes(ana, 'Final de proceso.');
await ana.goto(base + '/informe.html');
await ana.waitForFunction(() => document.querySelector('#Cmbremision').options.length > 0);
const ips = await ana.$eval('#Cmblista', (s) => s.value);
const delivery = await ana.$eval('#Cmbremision', (s) => s.value);
for (const [button, kind] of [['#generar_informe', 'summary'], ['#informe_inconsistencias', 'inconsistencies']]) {
  await ana.click(button);
  await ana.waitForFunction((k) => document.querySelector('#cmdExcel').href.includes(k), {},
    kind === 'summary' ? 'resumen' : 'inconsistencias');
  const expected = JSON.parse(run(['report', kind, '--ips', ips, '--delivery', delivery, '--json']));
  assert.deepEqual(await cells(ana, '#Lv1'), [expected.columns, ...as_text(expected.rows)]);
  if (kind === 'summary') {
    // The run's totals on the main page are those the saved report counts.
    const total = (column) => expected.rows.reduce((n, r) => n + Number(r[expected.columns.indexOf(column)]), 0);
    assert.deepEqual(summary[1].map(Number), [total('Leidos'), total('Pasan_Validacion'), total('Inconsistentes')]);
  }
}
await capture(ana, 'informe');
const workbook = await ana.$eval('#cmdExcel', async (a) => {
  const answer = await fetch(a.href);
  const bytes = new Uint8Array(await answer.arrayBuffer());
  return { status: answer.status, start: String.fromCharCode(bytes[0], bytes[1]) };
});
assert.deepEqual(workbook, { status: 200, start: 'PK' });

// The EAPB registry: a new entity, its name changed only when the operator confirms it.
await ana.goto(base + '/eapb.html');
await ana.waitForFunction(() => document.querySelector('#tipo').options.length > 0);
await ana.click('[data-boton=agregar]');
await ana.waitForFunction(() => !document.querySelector('[data-boton=agregar]').disabled && document.querySelector('#codigo').value === '');
await ana.type('#codigo', 'EPS999');
await ana.type('#nombre', 'Salud Total Prueba');
await ana.type('#responsable', 'Luis Pérez');
await ana.click('[data-boton=actualizar]');
await ana.waitForFunction(() => !document.querySelector('[data-boton=actualizar]').disabled);
await capture(ana, 'eapb');
for (const [answer, stays] of [['No', 'SALUD TOTAL PRUEBA'], ['Sí', 'Salud Total Ñandú']]) {
  await ana.$eval('#nombre', (b) => { b.value = ''; });
  await ana.type('#nombre', 'Salud Total Ñandú');
  await ana.click('[data-boton=actualizar]');
  const asked = await box(ana);
  assert.equal(asked.text, '¿Cambiar el nombre de la EAPB EPS999 de «Salud Total Prueba» a «Salud Total Ñandú»?');
  assert.equal(asked.focused, 'No');
  await ana.$$eval('dialog[open] button', (b, a) => b.find((x) => x.textContent === a).click(), answer);
  await ana.waitForFunction((n) => !document.querySelector('[data-boton=actualizar]').disabled && document.querySelector('#nombre').value === n, {}, stays);
}

// The delivery deleted after its question, whose default is No.
await ana.goto(base + '/borrado.html');
await ana.waitForFunction(() => document.querySelector('#Cmbremision').options.length > 0);
await capture(ana, 'borrado');
await ana.click('#CmdBorrar');
assert.equal((await box(ana)).focused, 'No');
await ana.$$eval('dialog[open] button', (b) => b.find((x) => x.textContent === 'Sí').click());
await close_boxes(ana, (await box(ana)).title);
await ana.waitForFunction((d) => ![...document.querySelector('#Cmbremision').options].some((o) => o.value === d) &&
  !document.querySelector('#CmdBorrar').disabled, {}, delivery);
assert.equal(run(['deliveries']).includes(delivery), false);

// Nothing of the scripted name ran or became an element on any page of the other desk.
await bea.click('#Cmdgraba');
await close_boxes(bea, 'Final de proceso.');
await bea.goto(base + '/informe.html');
await bea.waitForFunction(() => document.querySelector('#Cmblista').options.length > 0);
assert.ok((await bea.$$eval('#Cmblista option', (o) => o.map((x) => x.textContent))).includes(SCRIPT_NAME));
assert.equal(await bea.$$eval('script', (s) => s.filter((x) => x.textContent.includes('alert')).length), 0);

await browser.close();
assert.deepEqual(faults, []);
console.log(`Páginas probadas en Chromium en ${((Date.now() - started) / 1000).toFixed(1)} s.`);
process.exit(0);
