// The report page: an IPS and one of its saved deliveries; the validation summary or the
// inconsistencies report shown as a table, and the report shown exported as a page or a workbook.
import { request, session, refused, delivery_choice, fill_table, escape_presses } from './comun.js';

const $ = (id) => document.getElementById(id);
let shown = null;  // the report shown: resumen or inconsistencias

function report_path(kind, format) {
  return '/api/informes/' + kind + '?' +
    new URLSearchParams({ ips: choice.ips(), entrega: choice.delivery(), formato: format });
}

// The exports take the report shown, as the window's buttons do.
function update_exports() {
  for (const [id, format] of [['cmdExport', 'html'], ['cmdExcel', 'xlsx']]) {
    const link = $(id);
    if (shown && choice.delivery()) {
      link.href = report_path(shown, format);
      link.removeAttribute('aria-disabled');
    } else {
      link.href = '#';
      link.setAttribute('aria-disabled', 'true');
    }
  }
}

const choice = delivery_choice($('eleccion'), () => {
  shown = null;
  update_exports();
});

async function show(kind) {
  if (!choice.delivery()) return;
  const answer = await request('GET', report_path(kind, 'json'));
  if (await refused(answer)) return;
  shown = kind;
  $('titulo').textContent = answer.data.title;
  fill_table($('Lv1'), answer.data.columns, answer.data.rows);
  update_exports();
}

await session();
const answer = await request('GET', '/api/informes');
// "Sin registros." and the like come as the document's boxes.
if (!(await refused(answer)) && !(await refused({ status: answer.data.exit_status === 0 ? 200 : 404, data: answer.data })))
  choice.show(answer.data.ips);
$('generar_informe').addEventListener('click', () => show('resumen'));
$('informe_inconsistencias').addEventListener('click', () => show('inconsistencias'));
for (const id of ['cmdExport', 'cmdExcel'])
  $(id).addEventListener('click', (e) => { if ($(id).hasAttribute('aria-disabled')) e.preventDefault(); });
escape_presses($('CmdSalir'));
