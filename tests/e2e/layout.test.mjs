// Every page at the sizes of a school's screens: the frame follows the window up to about
// 1600 px, nothing spills past it (wide tables scroll inside their own box with their header row
// and first column kept in view), no short cell breaks onto a second line, and a chart of
// hundreds of groups keeps its labels apart. Measured by the page's own element boxes; every
// page is also saved as a screenshot (ZEZIZA_SCREENSHOTS, a folder of the build) to look at.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { startServer, openBrowser } from './harness.mjs';

const SHOTS = process.env.ZEZIZA_SCREENSHOTS || join(tmpdir(), 'zeziza-screenshots');

let server;
let b;

before(async () => {
  server = await startServer({
    prepare: (dataDir) => {
      execFileSync(process.env.ZEZIZA_GENERATE, ['--data-dir', dataDir, '--students', '600',
        '--exams', '2', '--subjects', '9', '--password', 'geheim']);
    },
  });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

// The pages of the navigation bar, each with the clicks that fill it with a result: nine
// subjects over two units make the class comparison and the query statistics wider than a
// 1280 px screen.
const PAGES = [
  ['【成绩查询】', ['#querybutton', '#statisticslink']],
  ['【图表统计】', ['#analysebutton']],
  ['【班级对比】', ['#analysebutton']],
  ['【成绩排序】', ['#analysebutton']],
  ['【进步统计】', ['#analysebutton']],
  ['【分布情况】', ['#analysebutton']],
  ['【单位设置】', []],
  ['【考试设置】', []],
  ['【学生管理】', ['#querybutton']],
  ['【系统设置】', []],
  ['【上传成绩】', []],
  ['【数据备份】', []],
  ['【修改密码】', []],
];

// Elements whose box leaves the page's frame without a scrolling box around them, heading
// cells laid out one character a line, and table cells not marked as long text that take more
// than one line.
function measure() {
  const frame = (document.querySelector('.iw-content') || document.body).getBoundingClientRect();
  const scrolls = (el) => {
    for (let a = el.parentElement; a && a !== document.body; a = a.parentElement) {
      const o = getComputedStyle(a).overflowX;
      if (o === 'auto' || o === 'scroll' || o === 'hidden') return true;
    }
    return false;
  };
  const name = (el) => el.tagName.toLowerCase() + (el.id ? '#' + el.id : '') +
    (typeof el.className === 'string' && el.className ? '.' + el.className.split(' ').join('.') : '');
  const spilled = [];
  for (const el of document.querySelectorAll('.iw-content *')) {
    const r = el.getBoundingClientRect();
    if (r.width === 0 || r.height === 0 || scrolls(el)) continue;
    if (r.right > frame.right + 1 || r.left < frame.left - 1) {
      spilled.push(`${name(el)} ${Math.round(r.left)}..${Math.round(r.right)}`);
    }
  }
  const lines = (el) => {
    const range = document.createRange();
    range.selectNodeContents(el);
    return new Set([...range.getClientRects()].filter((r) => r.width > 0)
      .map((r) => Math.round(r.top))).size;
  };
  const narrowHeadings = [];
  for (const th of document.querySelectorAll('th')) {
    const text = th.textContent.replace(/\s+/g, '');
    if (text.length < 2 || th.getBoundingClientRect().width === 0) continue;
    if (lines(th) >= text.length) narrowHeadings.push(text);
  }
  const wrapped = [];
  for (const cell of document.querySelectorAll('table.grid td, table.grid th, table.qbk td, table.qbk th')) {
    if (cell.classList.contains('wrap') || cell.querySelector('input, select, textarea')) continue;
    if (!cell.textContent.trim() || cell.getBoundingClientRect().width === 0) continue;
    if (lines(cell) > 1) wrapped.push(cell.textContent.trim());
  }
  // A link or a check box's caption is short: its text keeps one line.
  for (const el of document.querySelectorAll('.iw-content .lnk, .iw-content label.chk')) {
    const text = [...el.childNodes].find((n) => n.nodeType === 3 && n.textContent.trim());
    if (el.getBoundingClientRect().width > 0 && text && lines(text) > 1) {
      wrapped.push(el.textContent.trim());
    }
  }
  // The header's user line breaks only at a blank, never inside a word ("自考模/式").
  const brokenWords = [];
  const header = document.querySelector('[id$="usercaption"]');
  const text = header && header.firstChild && header.firstChild.nodeType === 3 ? header.firstChild : null;
  for (let i = 1; text && i < text.length; ++i) {
    const top = (at) => {
      const range = document.createRange();
      range.setStart(text, at);
      range.setEnd(text, at + 1);
      const rect = range.getClientRects()[0];
      return rect ? Math.round(rect.top) : null;
    };
    const [before, after] = [text.data[i - 1], text.data[i]];
    if (before.trim() && after.trim() && top(i - 1) !== top(i)) brokenWords.push(before + '/' + after);
  }
  return { spilled: spilled.slice(0, 8), narrowHeadings, wrapped: wrapped.slice(0, 8), brokenWords, pageScrolls:
    document.documentElement.scrollWidth > document.documentElement.clientWidth };
}

// The widest (or the tallest) table of the page, scrolled to its end both ways inside its own
// box: whether it scrolled, and whether its corner cell, the heading of its last column and
// the first cell of its last row stayed at the box's edges.
function scrollTable(which) {
  const tables = [...document.querySelectorAll('.iw-content table.grid, .iw-content table.qbk')]
    .filter((t) => t.getBoundingClientRect().width > 0);
  if (tables.length === 0) return null;
  const size = (t) => (which === 'wide' ? t.scrollWidth : t.scrollHeight);
  const table = tables.reduce((a, b) => (size(b) > size(a) ? b : a));
  const box = table.getBoundingClientRect();
  table.scrollLeft = table.scrollWidth;
  table.scrollTop = table.scrollHeight;
  const rows = table.rows;
  const at = (cell) => cell.getBoundingClientRect();
  const corner = at(rows[0].cells[0]);
  const result = {
    scrolled: which === 'wide' ? table.scrollLeft > 0 : table.scrollTop > 0,
    cornerInPlace: Math.abs(corner.left - box.left) <= 2 && Math.abs(corner.top - box.top) <= 2,
    headingOnTop: Math.abs(at(rows[0].cells[rows[0].cells.length - 1]).top - box.top) <= 2,
    firstColumnOnLeft: Math.abs(at(rows[rows.length - 1].cells[0]).left - box.left) <= 2,
  };
  table.scrollLeft = 0;
  table.scrollTop = 0;
  return result;
}

// What a phone shows must be read and touched without zooming: the page asks for the
// device's width, no text is smaller than 12 CSS px, boxes, lists, buttons and check boxes
// are at least 40 px high, and (unless `scrolls` allows it, as on an analysis page) nothing
// is wider than the screen.
function phoneMeasure(scrolls) {
  const width = document.documentElement.clientWidth;
  const name = (el) => el.tagName.toLowerCase() + (el.id ? '#' + el.id : '') +
    (typeof el.className === 'string' && el.className ? '.' + el.className.split(' ').join('.') : '');
  const small = new Set();
  const wide = [];
  const tiny = [];
  for (const el of document.querySelectorAll('body *')) {
    const r = el.getBoundingClientRect();
    const style = getComputedStyle(el);
    if (r.width === 0 || r.height === 0 || style.visibility === 'hidden') continue;
    const ownText = [...el.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim());
    const isBox = el.matches('input:not([type=hidden]):not([type=checkbox]), select, button');
    if ((ownText || isBox) && parseFloat(style.fontSize) < 12) {
      small.add(`${name(el)} ${style.fontSize}`);
    }
    if (!scrolls && (r.right > width + 1 || r.left < -1)) {
      wide.push(`${name(el)} ${Math.round(r.left)}..${Math.round(r.right)}`);
    }
    if ((isBox || el.matches('label.chk')) && r.height < 40) {
      tiny.push(`${name(el)} ${Math.round(r.height)}px`);
    }
  }
  const viewport = document.querySelector('meta[name=viewport]');
  return {
    viewport: viewport ? viewport.content : '',
    small: [...small].slice(0, 8),
    wide: wide.slice(0, 8),
    tiny: scrolls ? [] : tiny.slice(0, 8),
    pageScrolls: !scrolls && document.documentElement.scrollWidth > width,
  };
}
const PHONE_FITS = { viewport: 'width=device-width, initial-scale=1', small: [], wide: [],
                     tiny: [], pageScrolls: false };

// The table whose first columns are kept (the ranking's 序号, 考号 and 姓名), scrolled to its
// right end: whether it scrolled, the kept headings, and whether their cells of the header
// and of the last row shown stayed side by side at the box's left edge.
function keptColumns() {
  const table = document.querySelector('.iw-content table[class*="iw-keep-"]');
  if (!table) return null;
  const kept = Number(/iw-keep-(\d+)/.exec(table.className)[1]);
  table.scrollLeft = table.scrollWidth;
  const box = table.getBoundingClientRect();
  const rows = [table.rows[0], table.rows[table.rows.length - 1]];
  let inPlace = true;
  for (const row of rows) {
    let left = box.left;
    for (let c = 0; c < kept; ++c) {
      const r = row.cells[c].getBoundingClientRect();
      if (Math.abs(r.left - left) > 2) inPlace = false;
      left = r.right;
    }
  }
  const result = { scrolled: table.scrollLeft > 0, inPlace,
                   headings: [...table.rows[0].cells].slice(0, kept).map((c) => c.textContent) };
  table.scrollLeft = 0;
  return result;
}

async function signIn() {
  const { page } = b;
  await page.goto(server.url + '/');
  await page.waitForFunction(() => document.title === '系统登录');
  await b.settled();
  await page.fill('#usernameedit', 'admin');
  await page.fill('#passwordedit', 'geheim');
  await b.submitBy('#signinbutton');
}

for (const [width, height] of [[1000, 760], [1280, 800], [1920, 1080]]) {
  test(`every page fits its frame at ${width}x${height}`, async () => {
    const { page } = b;
    const folder = join(SHOTS, `${width}x${height}`);
    mkdirSync(folder, { recursive: true });
    await page.setViewportSize({ width, height });
    await signIn();
    // The frame grows with the window, keeping a margin, up to 1600 px.
    const frameWidth = await page.$eval('.iw-content', (el) => el.getBoundingClientRect().width);
    assert.ok(frameWidth >= Math.min(1600, width - 60) && frameWidth <= 1600, `frame ${frameWidth}`);
    for (const [index, [link, clicks]] of PAGES.entries()) {
      await b.submitBy(`a.lnk:text-is("${link}")`);
      for (const click of clicks) {
        if (await page.isVisible(click)) await b.submitBy(click);
      }
      const file = `${String(index + 1).padStart(2, '0')}-${link.replace(/[【】]/g, '')}.png`;
      await page.screenshot({ path: join(folder, file),
                              fullPage: true });
      const found = await page.evaluate(measure);
      assert.deepEqual(found, { spilled: [], narrowHeadings: [], wrapped: [], brokenWords: [],
                               pageScrolls: false },
                       link);
    }
  });
}

// The class comparison of nine subjects is wider than the frame at 1280 px, a ranking of six
// hundred students is taller than the window: each scrolls in its own box, its header row and
// first column staying where they are.
for (const [link, clicks, which] of [['【班级对比】', ['#analysebutton'], 'wide'],
                                     ['【成绩排序】', ['#analysebutton'], 'tall']]) {
  test(`${link} scrolls inside its frame with headings and first column kept`, async () => {
    const { page } = b;
    await page.setViewportSize({ width: 1280, height: 800 });
    await signIn();
    await b.submitBy(`a.lnk:text-is("${link}")`);
    for (const click of clicks) await b.submitBy(click);
    assert.deepEqual(await page.evaluate(scrollTable, which), {
      scrolled: true, cornerInPlace: true, headingOnTop: true, firstColumnOnLeft: true,
    });
  });
}

// Scrolled sideways, the ranking keeps a student's 考号 and 姓名 in view beside 序号.
test('the ranking keeps 序号, 考号 and 姓名 in view while it scrolls sideways', async () => {
  const { page } = b;
  await page.setViewportSize({ width: 1000, height: 760 });
  await signIn();
  await b.submitBy('a.lnk:text-is("【成绩排序】")');
  await b.submitBy('#analysebutton');
  assert.deepEqual(await page.evaluate(keptColumns),
                   { scrolled: true, inPlace: true, headings: ['序号', '考号', '姓名'] });
});

test('a chart of six hundred students keeps every label apart', async () => {
  const { page } = b;
  await page.setViewportSize({ width: 1280, height: 800 });
  await signIn();
  await b.submitBy('a.lnk:text-is("【图表统计】")');
  await page.selectOption('#groupingbox', { label: '学生' });
  await b.submitBy('#analysebutton');
  const labels = await page.$$eval('.iw-chart svg text.iw-bar-label', (texts) =>
    texts.filter((t) => t.getAttribute('text-anchor') === 'end')
      .map((t) => { const r = t.getBoundingClientRect(); return [r.top, r.bottom]; }));
  assert.ok(labels.length >= 590, `${labels.length} labels`);
  for (let i = 1; i < labels.length; ++i) {
    assert.ok(labels[i][0] >= labels[i - 1][1] - 0.5, `label ${i} overlaps the one before`);
  }
  const found = await page.evaluate(measure);
  assert.deepEqual(found.spilled, []);
});

// A teacher on a phone (390 px wide) signs in, enters scores directly (number, score, Enter),
// fills a class in the grid (one column of boxes with the number keys) and changes the
// password; each page fits the screen with readable text and boxes large enough to touch.
test('score entry on a 390 px phone', async () => {
  const entry = await startServer({ binary: process.env.ZEZIZA_ENTRY_SERVER });
  const phone = await openBrowser();
  try {
    const { page, dialogs } = phone;
    const folder = join(SHOTS, '390x844');
    mkdirSync(folder, { recursive: true });
    await page.setViewportSize({ width: 390, height: 844 });
    const shot = async (file) => page.screenshot({ path: join(folder, file), fullPage: true });
    await page.goto(entry.url + '/');
    await page.waitForFunction(() => document.title === '系统登录');
    await phone.settled();
    await shot('entry-01-登录.png');
    assert.deepEqual(await page.evaluate(phoneMeasure, false), PHONE_FITS, 'sign-in');
    await page.fill('#usernameedit', 'boss');
    await page.fill('#passwordedit', 'pw');
    await phone.submitBy('#signinbutton');
    assert.equal(await page.title(), '成绩录入');

    // Direct entry: number, Enter, score, Enter.
    await page.selectOption('#directsubjectbox', { label: '数学' });
    await page.click('#directnumberedit');
    await page.keyboard.type('801');
    await page.keyboard.press('Enter');
    assert.equal(await page.getAttribute('#directscoreedit', 'inputmode'), 'decimal');
    await page.keyboard.type('88');
    await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
    await phone.settled();
    assert.deepEqual(dialogs, []);
    assert.equal(await page.inputValue('#lastscoreedit'), '88');
    await shot('entry-02-直接录入.png');
    assert.deepEqual(await page.evaluate(phoneMeasure, false), PHONE_FITS, 'direct entry');

    // The password panel of the entry page.
    await phone.submitBy('#passwordlink');
    await shot('entry-03-修改密码.png');
    assert.deepEqual(await page.evaluate(phoneMeasure, false), PHONE_FITS, 'password panel');

    // The class grid: one box under another, each with the number keys.
    await phone.submitBy('#gridmodelink');
    await page.selectOption('#gradebox', { label: '七年级' });
    await page.selectOption('#classbox', { label: '一班' });
    await page.selectOption('#subjectbox', { label: '语文' });
    await phone.submitBy('#loadbutton');
    const boxes = await page.$$eval('#scoresgrid input', (inputs) => inputs.map((i) => {
      const r = i.getBoundingClientRect();
      return { left: Math.round(r.left), top: Math.round(r.top), mode: i.inputMode };
    }));
    assert.equal(boxes.length, 4);
    for (let i = 1; i < boxes.length; ++i) {
      assert.equal(boxes[i].left, boxes[0].left, 'one column of boxes');
      assert.ok(boxes[i].top > boxes[i - 1].top, 'each box under the one before');
    }
    assert.deepEqual(boxes.map((x) => x.mode), ['decimal', 'decimal', 'decimal', 'decimal']);
    await page.click('#scorebox1');
    for (const score of ['81', '82', '83', '84']) {
      await page.keyboard.type(score);
      await page.keyboard.press('Enter');
    }
    await shot('entry-04-表格录入.png');
    assert.deepEqual(await page.evaluate(phoneMeasure, false), PHONE_FITS, 'class grid');
    await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
    await phone.settled();
    assert.deepEqual(dialogs.pop(), { type: 'alert', message: '已保存：写入4个成绩，删除0个，未变0个' });
  } finally {
    await phone.close();
    await entry.stop();
  }
});

// An administrator's pages on the phone: the password page fits the screen like the entry
// pages; the analysis pages may scroll sideways but keep their text readable.
test('an administrator\'s pages on a 390 px phone', async () => {
  const { page } = b;
  const folder = join(SHOTS, '390x844');
  mkdirSync(folder, { recursive: true });
  await page.setViewportSize({ width: 390, height: 844 });
  await signIn();
  for (const [index, [link, clicks]] of PAGES.entries()) {
    await b.submitBy(`a.lnk:text-is("${link}")`);
    for (const click of clicks) {
      if (await page.isVisible(click)) await b.submitBy(click);
    }
    await page.screenshot({ path: join(folder, `${String(index + 1).padStart(2, '0')}-${link.replace(/[【】]/g, '')}.png`),
                            fullPage: true });
    const fits = link === '【修改密码】';
    assert.deepEqual(await page.evaluate(phoneMeasure, !fits), PHONE_FITS, link);
  }
});
