// The report page: an IPS and one of its saved deliveries; the validation summary or the
// inconsistencies report shown as a table, and the report shown exported as a page or a workbook.
import { request, session, refused, fill_select, fill_table, escape_presses } from './comun.js';

const $ = (id) => document.getElementById(id);
let lists = [];
let shown = null;  // the report shown: resumen or inconsistencias

function show_deliveries() {
  const ips = lists.find((i) => i.nombre === $('Cmblista').value);
  fill_select($('Cmbremision'), ips ? ips.entregas : []);
  update_exports();
}

function report_path(kind, format) {
  return '/api/informes/' + kind + '?' + new URLSearchParams({
    ips: $('Cmblista').value, entrega: $('Cmbremision').value, formato: format,
  });
}

// The exports take the report shown, as the window's buttons do.
function update_exports() {
  for (const [id, format] of [['cmdExport', 'html'], ['cmdExcel', 'xlsx']]) {
    const link = $(id);
    if (shown && $('Cmbremision').value) {
      link.href = report_path(shown, format);
      link.removeAttribute('aria-disabled');
    } else {
      link.href = '#';
      link.setAttribute('aria-disabled', 'true');
    }
  }
}

async function show(kind) {
  if (!$('Cmbremision').value) return;
  const answer = await request('GET', report_path(kind, 'json'));
  if (await refused(answer)) return;
  shown = kind;
  $('titulo').textContent = answer.data.title;
  fill_table($('Lv1'), answer.data.columns, answer.data.rows);
  update_exports();
}

await session();
const answer = await request('GET', '/api/informes');
if (!(await refused(answer))) {
  if (answer.data.exit_status !== 0) {
    await refused({ status: 404, data: answer.data });
  } else {
    lists = answer.data.ips || [];
    fill_select($('Cmblista'), lists.map((i) => i.nombre));
    show_deliveries();
  }
}
$('Cmblista').addEventListener('change', () => { shown = null; show_deliveries(); });
$('Cmbremision').addEventListener('change', () => { shown = null; update_exports(); });
$('generar_informe').addEventListener('click', () => show('resumen'));
$('informe_inconsistencias').addEventListener('click', () => show('inconsistencias'));
for (const id of ['cmdExport', 'cmdExcel'])
  $(id).addEventListener('click', (e) => { if ($(id).hasAttribute('aria-disabled')) e.preventDefault(); });
escape_presses($('CmdSalir'));
