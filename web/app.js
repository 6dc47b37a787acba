// The page: shows what the module computes and passes on what the user
// types. Every figure, check and message comes from the module.
'use strict';

const SAMPLE = '/res/obspoint.txt';
const USER_DIR = '/user';
const USER = USER_DIR + '/obspoint.txt';
const STORE = 'lunvelde.obspoint';  // the user's site file, one character a byte

const $ = (id) => document.getElementById(id);
const sjis = new TextDecoder('shift_jis');
let M = null;
let encodeTable = null;  // character -> Shift-JIS bytes, made at the first need

// Calls a module function; texts are passed as strings, numbers as numbers.
function call(name, ...args) {
  const types = args.map((a) => (typeof a === 'number' ? 'number' : 'string'));
  return M.ccall(name, 'string', types, args);
}
const json = (name, ...args) => JSON.parse(call(name, ...args));

function fromHex(hex) {
  const bytes = new Uint8Array(hex.length / 2);
  for (let i = 0; i < bytes.length; ++i) bytes[i] = parseInt(hex.substr(2 * i, 2), 16);
  return bytes;
}
const nameText = (hex) => sjis.decode(fromHex(hex));

// Shift-JIS bytes of a typed name, as hexadecimal; a character that
// Shift-JIS lacks becomes '?'.
function nameHex(text) {
  if (!encodeTable) {
    encodeTable = new Map();
    const leads = [];
    for (let b = 0x81; b <= 0xfc; ++b) if (b <= 0x9f || b >= 0xe0) leads.push(b);
    for (let b = 0xa1; b <= 0xdf; ++b) encodeTable.set(sjis.decode(new Uint8Array([b])), [b]);
    for (const lead of leads)
      for (let t = 0x40; t <= 0xfc; ++t) {
        if (t === 0x7f) continue;
        const ch = sjis.decode(new Uint8Array([lead, t]));
        if (ch.length === 1 && ch !== '\ufffd' && !encodeTable.has(ch)) encodeTable.set(ch, [lead, t]);
      }
  }
  let out = '';
  for (const ch of text) {
    const c = ch.codePointAt(0);
    const bytes = c < 0x80 ? [c] : encodeTable.get(ch) || [0x3f];
    for (const b of bytes) out += b.toString(16).padStart(2, '0');
  }
  return out;
}

function say(text) {
  $('msg').textContent = text;
}
const message = (key) => call('lv_message', key);

// The user's site file: kept in the browser's storage, put into the
// module's file system at start and after every change.
function loadUserFile() {
  const stored = localStorage.getItem(STORE);
  if (stored === null) return;
  const bytes = new Uint8Array(stored.length);
  for (let i = 0; i < stored.length; ++i) bytes[i] = stored.charCodeAt(i);
  M.FS.writeFile(USER, bytes);
}
// False, with the message shown, when the browser does not keep the bytes
// (storage full or switched off); the list then lasts until the page closes.
function saveUserFile() {
  const bytes = M.FS.readFile(USER);
  let s = '';
  for (let i = 0; i < bytes.length; i += 8192) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  try {
    localStorage.setItem(STORE, s);
    return true;
  } catch (e) {
    say(message('accessFailed'));
    return false;
  }
}
function userFileExists() {
  return M.FS.analyzePath(USER).exists;
}

let lists = { res: [], user: [] };

function fillSiteList(select) {
  lists = { res: json('lv_sites', SAMPLE) || [], user: json('lv_sites', USER) || [] };
  const box = $('cmbSites');
  box.textContent = '';
  const group = (label, key) => {
    const g = document.createElement('optgroup');
    g.label = label;
    lists[key].forEach((s, i) => {
      const o = document.createElement('option');
      o.value = key + ':' + i;
      o.textContent = nameText(s.list).trimEnd() || '(' + (i + 1) + ')';
      g.appendChild(o);
    });
    box.appendChild(g);
  };
  group('見本', 'res');
  group('登録した観測地', 'user');
  box.value = select || '';
}

function showSiteFields(site) {
  $('cmbName').value = nameText(site.name).trimEnd();
  $('editLati').value = site.lat;
  $('editLongi').value = site.lon;
  $('editTz').value = site.tz;
  $('chkSummer').checked = site.summer !== 0;
}

// Takes the dialog's fields as the current site; false with the message
// when they are not accepted.
function takeSite() {
  const err = call('lv_take_site', nameHex($('cmbName').value), $('editLati').value, $('editLongi').value,
                   $('editTz').value, $('chkSummer').checked ? 1 : 0);
  say(err);
  if (err) return false;
  monthKey = '';
  render();
  return true;
}

function chooseSite() {
  const [key, index] = $('cmbSites').value.split(':');
  const site = lists[key] && lists[key][Number(index)];
  if (!site) return;
  if (site.name === undefined) {
    say(message('cannotRead'));
    return;
  }
  showSiteFields(site);
  takeSite();
}

function registerSite() {
  if (!M.FS.analyzePath(USER_DIR).exists) M.FS.mkdir(USER_DIR);
  const err = call('lv_append_site', USER, nameHex($('cmbName').value), $('editLati').value, $('editLongi').value,
                   $('editTz').value, $('chkSummer').checked ? 1 : 0);
  say(err);
  if (err) return;
  const saved = saveUserFile();
  fillSiteList();
  $('cmbSites').value = 'user:' + (lists.user.length - 1);
  if (takeSite() && !saved) say(message('accessFailed'));
}

async function importSites(file) {
  if (!file) return;
  if (M.ccall('lv_import_fits', 'number', ['number'], [file.size]) === 0) {
    say(message('cannotRead'));
    return;
  }
  const bytes = new Uint8Array(await file.arrayBuffer());
  M.FS.writeFile('/tmp/import.txt', bytes);
  const err = call('lv_check_import', '/tmp/import.txt');
  M.FS.unlink('/tmp/import.txt');
  say(err);
  if (err) return;
  M.FS.writeFile(USER, bytes);
  saveUserFile();
  fillSiteList();
}

function download(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

function exportSites() {
  if (!userFileExists()) {
    say(message('noSiteFile'));
    return;
  }
  download(M.FS.readFile(USER), 'obspoint.txt', 'application/octet-stream');
}

// The displayed day: the four lines and the picture first, then the month
// table (only when the month or the site changed) and the details.
let monthKey = '';
let picture = null;

function render() {
  renderDay();
  renderMonth();
  renderDetails();
}

function renderDay() {
  const lines = call('lv_day').split('\n');
  ['lblDate', 'lblSun', 'lblMoon', 'lblAge'].forEach((id, i) => ($(id).textContent = lines[i]));
  const w = M.ccall('lv_picture_width', 'number', [], []);
  const h = M.ccall('lv_picture_height', 'number', [], []);
  const ptr = M.ccall('lv_pixels', 'number', [], []);
  if (!picture) picture = new ImageData(w, h);
  picture.data.set(M.HEAPU8.subarray(ptr, ptr + w * h * 4));
  $('imgDisp').getContext('2d').putImageData(picture, 0, 0);

  const date = json('lv_date');
  $('txtYear').value = date.year;
  $('txtMonth').value = date.month;
  $('txtDay').value = date.day;
  const site = json('lv_site');
  $('siteTitle').textContent = nameText(site.name).trim();
}

function renderMonth() {
  const date = json('lv_date');
  const key = date.year + '-' + date.month + '|' + call('lv_site');
  if (key !== monthKey) {
    monthKey = key;
    $('tableMonth').textContent = date.year + '年' + date.month + '月';
    $('tblRows').textContent = call('lv_month_rows');
    renderKoyomiMonth();
  }
  document.querySelectorAll('#tblKoyomi tbody tr').forEach((tr, i) => tr.classList.toggle('today', i + 1 === date.day));
}

function renderKoyomiMonth() {
  const v = json('lv_koyomi_month');
  $('koyomiMonth').textContent = v.title;
  $('koyomiNote').textContent = v.note;
  const head = document.querySelector('#tblKoyomi thead');
  head.textContent = '';
  cells(head, v.headings);
  const body = document.querySelector('#tblKoyomi tbody');
  body.textContent = '';
  v.rows.forEach((r) => {
    cells(body, r.cells);
    if (r.red) body.lastChild.classList.add('red');
  });
}

// The day graph: the module lays it out for the canvas's size; here it is
// only filled and stroked.
function drawDayGraph() {
  const canvas = $('dayGraph');
  const w = canvas.clientWidth, h = canvas.clientHeight;
  if (!w || !h) return;
  const g = json('lv_day_graph', w, h, Date.now() / 1000);
  window.lunvelde.dayGraph = g;
  const scale = window.devicePixelRatio || 1;
  canvas.width = Math.round(w * scale);
  canvas.height = Math.round(h * scale);
  const c = canvas.getContext('2d');
  c.setTransform(scale, 0, 0, scale, 0, 0);
  c.clearRect(0, 0, w, h);
  c.font = '11px ' + getComputedStyle(document.body).fontFamily;
  const [left, top, width, height] = g.plot;
  const right = left + width, bottom = top + height;
  const line = (x0, y0, x1, y1) => {
    c.beginPath();
    c.moveTo(x0, y0);
    c.lineTo(x1, y1);
    c.stroke();
  };
  g.bands.forEach(([from, to, colour]) => {
    c.fillStyle = colour;
    c.fillRect(from, top, to - from, height);
  });
  c.strokeStyle = 'rgba(255,255,255,0.27)';
  c.lineWidth = 1;
  g.hours.forEach(([x]) => line(x, top, x, bottom));
  g.altitudes.forEach(([y]) => line(left, y, right, y));
  c.fillStyle = '#282828';
  c.textAlign = 'center';
  c.textBaseline = 'top';
  g.hours.forEach(([x, text]) => c.fillText(text, x, bottom + 2));
  c.textAlign = 'right';
  c.textBaseline = 'middle';
  g.altitudes.forEach(([y, text]) => c.fillText(text + '°', left - 4, y));
  c.strokeStyle = '#141414';
  c.lineWidth = 1.3;
  line(left, g.horizon, right, g.horizon);

  c.save();
  c.beginPath();
  c.rect(left, top, width, height);
  c.clip();
  const curves = (parts, colour) => parts.forEach((p) => {
    c.beginPath();
    for (let i = 0; i < p.length; i += 2) c.lineTo(p[i], p[i + 1]);
    c.lineJoin = 'bevel';
    c.strokeStyle = 'rgba(255,255,255,0.6)';
    c.lineWidth = 4.5;
    c.stroke();
    c.strokeStyle = colour;
    c.lineWidth = 2.2;
    c.stroke();
  });
  curves(g.moon, g.colours.moon);
  curves(g.sun, g.colours.sun);
  if (g.now !== null) {
    c.strokeStyle = g.colours.now;
    c.lineWidth = 1.5;
    c.setLineDash([4, 3]);
    line(g.now, top, g.now, bottom);
    c.setLineDash([]);
  }
  c.restore();

  // A label on a pale plate, kept inside the picture.
  const label = (x, y, text, above, ink) => {
    const tw = c.measureText(text).width + 6, th = 14;
    const bx = Math.min(Math.max(x - tw / 2, 0), right + 10 - tw);
    const by = Math.min(Math.max(above ? y - th : y, 0), bottom - th);
    c.fillStyle = 'rgba(255,255,255,0.8)';
    c.fillRect(bx, by, tw, th);
    c.fillStyle = ink;
    c.textAlign = 'center';
    c.textBaseline = 'middle';
    c.fillText(text, bx + tw / 2, by + th / 2);
  };
  g.marks.forEach(([body, , x, y, lx, ly, text, above]) => {
    const colour = g.colours[body];
    c.beginPath();
    c.arc(x, y, 3.5, 0, 2 * Math.PI);
    c.fillStyle = colour;
    c.fill();
    c.strokeStyle = '#fff';
    c.lineWidth = 1;
    c.stroke();
    label(lx, ly, text, above, colour);
  });
  if (g.note) {
    c.font = 'bold ' + c.font;
    label(left + width / 2, top + 2, g.note, false, '#141414');
  }
  c.strokeStyle = '#5a5a5a';
  c.lineWidth = 1;
  c.strokeRect(left, top, width, height);
}

function cells(row, values, tag) {
  const tr = document.createElement('tr');
  values.forEach((v, i) => {
    const td = document.createElement(i === 0 ? 'th' : tag || 'td');
    td.textContent = v;
    tr.appendChild(td);
  });
  row.appendChild(tr);
}

function renderDetails() {
  const d = json('lv_details');
  $('lblDetDate').textContent = d.date;
  $('lblSite').textContent = $('siteTitle').textContent + '  ' + d.place;
  const events = document.querySelector('#tblEvents tbody');
  events.textContent = '';
  d.events.forEach((e) => cells(events, e));
  const twilights = document.querySelector('#tblTwilight tbody');
  twilights.textContent = '';
  d.twilights.forEach((t) => cells(twilights, t));
  const phases = $('lstPhases');
  phases.textContent = '';
  d.phases.forEach((p) => {
    const li = document.createElement('li');
    li.textContent = p;
    phases.appendChild(li);
  });
  const koyomi = $('koyomiLines');
  koyomi.textContent = '';
  json('lv_koyomi_lines').forEach((text) => {
    const div = document.createElement('div');
    div.textContent = text;
    koyomi.appendChild(div);
  });
  drawDayGraph();
}

function step(n) {
  const t0 = performance.now();
  call('lv_step', n);
  say('');
  render();
  window.lunvelde.stepMs = performance.now() - t0;
}

function copyRows() {
  const text = call('lv_month_rows');
  const fallback = () => {
    const area = document.createElement('textarea');
    area.value = text;
    document.body.appendChild(area);
    area.select();
    document.execCommand('copy');
    area.remove();
  };
  if (navigator.clipboard) navigator.clipboard.writeText(text).catch(fallback);
  else fallback();
}

function wire() {
  $('cmdBefore').addEventListener('click', () => step(-1));
  $('cmdNext').addEventListener('click', () => step(1));
  $('imgDisp').addEventListener('click', () => step(1));
  $('cmdToday').addEventListener('click', () => {
    call('lv_today');
    say('');
    render();
  });
  document.addEventListener('keydown', (e) => {
    const t = e.target.tagName;
    if (t === 'INPUT' || t === 'SELECT' || t === 'TEXTAREA' || e.altKey || e.ctrlKey || e.metaKey) return;
    if (e.key === 'ArrowLeft') step(-1);
    else if (e.key === 'ArrowRight') step(1);
    else return;
    e.preventDefault();
  });
  $('frmDate').addEventListener('submit', (e) => {
    e.preventDefault();
    const err = call('lv_set_date', $('txtYear').value, $('txtMonth').value, $('txtDay').value);
    say(err);
    if (!err) render();
  });
  $('cmbSites').addEventListener('change', chooseSite);
  $('frmLoc').addEventListener('submit', (e) => {
    e.preventDefault();
    takeSite();
  });
  $('cmdWrite').addEventListener('click', registerSite);
  $('fileImport').addEventListener('change', (e) => {
    importSites(e.target.files[0]).catch((err) => say(String(err)));
    e.target.value = '';
  });
  $('cmdExport').addEventListener('click', exportSites);
  $('cmdClip').addEventListener('click', copyRows);
  $('cmdCsv').addEventListener('click', () => {
    const d = json('lv_date');
    const name = 'lunvelde-' + d.year + '-' + String(d.month).padStart(2, '0') + '.csv';
    download(call('lv_month_csv'), name, 'text/csv');
  });
  $('cmdKoyomiCsv').addEventListener('click', () => {
    const d = json('lv_date');
    download(call('lv_koyomi_csv'), 'koyomi-' + d.year + '-' + String(d.month).padStart(2, '0') + '.csv', 'text/csv');
  });
  let width = $('dayGraph').clientWidth;
  window.addEventListener('resize', () => {
    if ($('dayGraph').clientWidth !== width) {
      width = $('dayGraph').clientWidth;
      drawDayGraph();
    }
  });
}

window.lunvelde = { ready: false, scriptStartMs: performance.now(), firstFiguresMs: 0, stepMs: 0 };
Lunvelde().then((module) => {
  M = module;
  const err = call('lv_init');
  if (err) say(message('noPicture'));
  if (!M.FS.analyzePath(USER_DIR).exists) M.FS.mkdir(USER_DIR);
  try {
    loadUserFile();
  } catch (e) {
    say(message('accessFailed'));
  }
  renderDay();
  window.lunvelde.firstFiguresMs = performance.now();
  fillSiteList('res:0');
  showSiteFields(json('lv_site'));
  renderMonth();
  renderDetails();
  window.lunvelde.userSites = () => lists.user.length;
  wire();
  window.lunvelde.ready = true;
});
